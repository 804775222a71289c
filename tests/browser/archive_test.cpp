#include "browser/archive.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

using FileMap = std::map<std::string, std::string>;

// Every file below `folder` with its bytes.
FileMap FolderContent(const TempFolder& folder) {
  FileMap files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
    if (entry.is_regular_file()) {
      const std::string relative = std::filesystem::relative(entry.path(), folder.Path()).generic_string();
      files[relative] = folder.Read(relative);
    }
  return files;
}

PageItem Item(std::string text, bool checked) {
  PageItem item;
  item.text = std::move(text);
  item.checked = checked;
  return item;
}

TEST(ValidArchiveName, AcceptsAndRejectsNames) {
  struct Case {
    std::string name;
    bool valid;
  } const cases[] = {
      {"MAY30.TXT", true},
      {"RACES", true},
      {"ABCDEFGHIJKL", true},
      {"A.B", true},
      {"ABC.", true},
      {"\x80\xE1\xFF", true},
      {"CONSOLE", true},
      {"COM10", true},
      {"LPT0", true},
      {"NULL.TXT", true},
      {"XCON", true},
      {"A!#$%&'()-@[", true},
      {"ABCDEFGHIJKLM", false},
      {".TXT", false},
      {"A.B.C", false},
      {"AB.CDEF", false},
      {"A B", false},
      {"A:B", false},
      {"A+B", false},
      {"A=B", false},
      {"", false},
      {"AB\x1F", false},
      {std::string("A\0B", 3), false},
      // Device names, with or without an extension, in any letter case.
      {"CON", false},
      {"con", false},
      {"Con.txt", false},
      {"CON.", false},
      {"PRN", false},
      {"AUX.A", false},
      {"NUL", false},
      {"COM1", false},
      {"com9.txt", false},
      {"LPT1", false},
      {"LPT9.ARC", false},
      {"COM\xFD", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ValidArchiveName(c.name), c.valid) << '"' << c.name << '"';
  for (char forbidden : std::string_view("\"*+,/:;<=>?\\|"))
    EXPECT_FALSE(ValidArchiveName(std::string("AB") + forbidden)) << forbidden;
}

// Three pages and their twins, a schedule and the day's text in the working folder,
// and an Archive folder.
class ArchiveTest : public ::testing::Test {
 protected:
  ArchiveTest() {
    FaultInjection::Disarm();
    folder.Write("A01Tam", "\f@A01Tam  Race 1\r\nA line\r\n");
    folder.Write("A0~Tam", "\f@A01Tam  Race 1\r\nA line\r\n");
    folder.Write("X01Tam", "\f@X01Tam\r\nX line\r\n");
    folder.Write("X0~Tam", "\f@X01Tam\r\nX line\r\n");
    // LF line ends and a byte 26 that ends the text.
    folder.Write("E01Tam",
                 "\f@E01Tam\nE line\n\x1A"
                 "beyond");
    folder.Write("E0~Tam", "\f@E01Tam\nE line\nuntrimmed\n");
    folder.Write("SimoDump.LST", "Tam 1 12:30\r\n");
    folder.Write("Vantrose.TXT", "day text\r\n");
    folder.MakeFolder("Archive");
  }
  ~ArchiveTest() override { FaultInjection::Disarm(); }

  std::string Base() const { return folder.Path(); }

  const std::vector<PageItem> items = {Item("A01Tam", true), Item("", true), Item("X01Tam", false),
                                       Item("E01Tam", true), Item("B01Tam", true)};
  const std::string aText = "\f@A01Tam  Race 1\r\nA line\r\n";
  const std::string xText = "\f@X01Tam\r\nX line\r\n";
  const std::string eText = "\f@E01Tam\r\nE line\r\n";

  TempFolder folder;
};

TEST_F(ArchiveTest, SavePagesWritesTheChosenPagesInListOrder) {
  struct Case {
    std::string title;
    std::vector<PageItem> items;
    PageSelection selection;
    std::string expected;
  } const cases[] = {
      {"checked pages; fillers and missing pages add nothing", items, PageSelection::CheckedOnly, aText + eText},
      {"every page", items, PageSelection::All, aText + xText + eText},
      {"nothing checked", {Item("A01Tam", false), Item("X01Tam", false)}, PageSelection::CheckedOnly, ""},
      {"list order, not name order",
       {Item("X01Tam", true), Item("A01Tam", true)},
       PageSelection::CheckedOnly,
       xText + aText},
  };
  folder.Write("Archive/MAY30.TXT", "an older archive of the same name\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    SavePages(ArchivePath(Base(), "MAY30.TXT"), Base(), c.items, c.selection);
    EXPECT_EQ(folder.Read("Archive/MAY30.TXT"), c.expected);
  }
  EXPECT_EQ(ListFolder(Base() + "Archive"), std::vector<std::string>{"MAY30.TXT"});
}

TEST_F(ArchiveTest, ArchivePathFindsTheFolderAndAnArchiveWhateverTheirCase) {
  std::filesystem::remove(Base() + "Archive");
  folder.Write("archive/may30.txt", "old");
  EXPECT_EQ(ArchivePath(Base(), "MAY30.TXT"), JoinPath(Base(), "archive/may30.txt"));
  EXPECT_EQ(ArchivePath(Base(), "June1"), JoinPath(Base(), "archive/June1"));
  SavePages(ArchivePath(Base(), "MAY30.TXT"), Base(), items, PageSelection::CheckedOnly);
  EXPECT_EQ(ListFolder(Base() + "archive"), std::vector<std::string>{"may30.txt"});
  EXPECT_EQ(folder.Read("archive/may30.txt"), aText + eText);
}

TEST_F(ArchiveTest, SavingWithoutAnArchiveFolderIsInvalidFilename) {
  std::filesystem::remove(Base() + "Archive");
  const FileMap before = FolderContent(folder);
  try {
    SavePages(ArchivePath(Base(), "RACES"), Base(), items, PageSelection::CheckedOnly);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), IoErrorTextFor("Invalid filename", JoinPath(Base(), "Archive/RACES")));
  }
  EXPECT_EQ(FolderContent(folder), before);
  EXPECT_FALSE(folder.Exists("Archive"));
}

TEST_F(ArchiveTest, SaveAndRestoreGiveBackTheSavedPagesAsTheDaysText) {
  const std::string archive = ArchivePath(Base(), "RACES");
  SavePages(archive, Base(), items, PageSelection::All);
  RestoreText(archive, Base() + "Vantrose.TXT");
  EXPECT_EQ(folder.Read("Vantrose.TXT"), aText + xText + eText);

  // An archive written elsewhere: its text ends at a byte 26, its lines get CR LF.
  folder.Write("Archive/OTHER",
               "one\rtwo\nthree\x1A"
               "four\r\n");
  RestoreText(ArchivePath(Base(), "OTHER"), Base() + "Vantrose.TXT");
  EXPECT_EQ(folder.Read("Vantrose.TXT"), "one\r\ntwo\r\nthree\r\n");
}

// Runs `command` with the k-th file operation failing, for k = 1, 2, ... until it
// succeeds; after each failure the folder must hold what it held before.
// Returns the number of failures seen.
template <typename Command>
long FailEachOperation(const TempFolder& folder, Command command) {
  const FileMap before = FolderContent(folder);
  long failures = 0;
  for (long k = 1; k < 1000; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, EACCES);
    bool failed = false;
    try {
      command();
    } catch (const IoError& error) {
      failed = true;
      // Names a file of the folder.
      EXPECT_EQ(std::string(error.what()).rfind("File access denied: " + folder.Path(), 0), 0u) << error.what();
    }
    FaultInjection::Disarm();
    if (!failed) break;
    ++failures;
    EXPECT_EQ(FolderContent(folder), before);
  }
  return failures;
}

TEST_F(ArchiveTest, AFailedSaveLeavesTheOlderArchiveWhole) {
  folder.Write("Archive/RACES", "older archive\r\n");
  const long failures = FailEachOperation(
      folder, [&] { SavePages(ArchivePath(Base(), "RACES"), Base(), items, PageSelection::CheckedOnly); });
  EXPECT_GT(failures, 8);
  EXPECT_EQ(folder.Read("Archive/RACES"), aText + eText);
}

TEST_F(ArchiveTest, AFailedRestoreLeavesTheDaysTextWhole) {
  folder.Write("Archive/RACES", "archived\r\n");
  const long failures =
      FailEachOperation(folder, [&] { RestoreText(ArchivePath(Base(), "RACES"), Base() + "Vantrose.TXT"); });
  EXPECT_GT(failures, 5);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), "archived\r\n");
}

// Stand-ins for the page model's steps, doing their file work through the file layer:
// rejoin copies the pages (E from its twin) into the day's text and deletes the pairs;
// split cuts the text at its "\f@" lines into pairs; building the list cuts E pages
// to their first line.
class LoadSteps {
 public:
  LoadSteps(std::string base, std::vector<std::string> reports)
      : m_base(std::move(base)), m_reports(std::move(reports)) {}

  ArchiveLoadSteps Steps() {
    return {[this] { Rejoin(); }, [this] { Split(); }, [this] { Build(); }};
  }
  std::vector<std::string> calls;
  std::vector<std::string> reports() const { return m_reports; }
  // The reports as the last split lists them.
  ReportTable Current() const {
    ReportTable table;
    for (const std::string& name : m_reports) table.files.push_back({name, Twin(name)});
    table.splitComplete = true;
    return table;
  }

 private:
  static std::string Twin(std::string name) {
    name[2] = '~';
    return name;
  }
  void Rejoin() {
    calls.push_back("rejoin");
    AtomicFile text(m_base + "Vantrose.TXT");
    for (const std::string& name : m_reports) {
      const bool isE = name[0] == 'E';
      InputFile page(m_base + (isE ? Twin(name) : name));
      std::string line;
      while (page.ReadLine(line)) text.WriteLine(line);
      page.Close();
      DeleteFile(m_base + name);
      DeleteFile(m_base + Twin(name));
    }
    text.Commit();
    m_reports.clear();
  }
  void Split() {
    calls.push_back("split");
    InputFile text(m_base + "Vantrose.TXT");
    std::unique_ptr<OutputFile> page;
    std::unique_ptr<OutputFile> twin;
    std::string line;
    while (text.ReadLine(line)) {
      if (line.rfind("\f@", 0) == 0) {
        const std::string name =
            line.substr(2, line.find(' ') == std::string::npos ? std::string::npos : line.find(' ') - 2);
        page = std::make_unique<OutputFile>(m_base + name);
        twin = std::make_unique<OutputFile>(m_base + Twin(name));
        m_reports.push_back(name);
      }
      if (page) {
        page->WriteLine(line);
        twin->WriteLine(line);
      }
    }
  }
  void Build() {
    calls.push_back("build");
    for (const std::string& name : m_reports) {
      if (name[0] != 'E') continue;
      InputFile twin(m_base + Twin(name));
      std::string first;
      twin.ReadLine(first);
      twin.Close();
      ReplaceFile(m_base + name, first + "\r\n");
    }
  }

  std::string m_base;
  std::vector<std::string> m_reports;
};

TEST_F(ArchiveTest, LoadPutsTheArchivesPagesInPlaceOfTheDays) {
  folder.Write("Archive/RACES", "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n");
  LoadSteps steps(Base(), {"A01Tam", "X01Tam", "E01Tam"});
  EXPECT_EQ(LoadArchive(Base(), ArchivePath(Base(), "RACES"), steps.Current(), steps.Steps()), ArchiveLoad::Loaded);
  EXPECT_EQ(steps.calls, (std::vector<std::string>{"rejoin", "split", "build"}));
  EXPECT_EQ(steps.reports(), (std::vector<std::string>{"B02Aqu", "E02Aqu"}));
  EXPECT_EQ(FolderContent(folder), (FileMap{{"Archive/RACES", "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n"},
                                            {"B02Aqu", "\f@B02Aqu\r\nB line\r\n"},
                                            {"B0~Aqu", "\f@B02Aqu\r\nB line\r\n"},
                                            {"E02Aqu", "\f@E02Aqu\r\n"},
                                            {"E0~Aqu", "\f@E02Aqu\r\nE1\r\nE2\r\n"},
                                            {"SimoDump.LST", "Tam 1 12:30\r\n"},
                                            {"Vantrose.TXT", "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n"}}));
}

TEST_F(ArchiveTest, LoadingAMissingArchiveChangesNothing) {
  const FileMap before = FolderContent(folder);
  LoadSteps steps(Base(), {"A01Tam", "X01Tam", "E01Tam"});
  EXPECT_EQ(LoadArchive(Base(), ArchivePath(Base(), "NOSUCH"), steps.Current(), steps.Steps()),
            ArchiveLoad::NoSuchArchive);
  EXPECT_TRUE(steps.calls.empty());
  EXPECT_EQ(FolderContent(folder), before);
}

TEST_F(ArchiveTest, ALoadFailingAtAnyStepLeavesTheDaysTextAndPages) {
  folder.Write("Archive/RACES", "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n");
  const long failures = FailEachOperation(folder, [&] {
    LoadSteps steps(Base(), {"A01Tam", "X01Tam", "E01Tam"});
    LoadArchive(Base(), ArchivePath(Base(), "RACES"), steps.Current(), steps.Steps());
  });
  // Failures in the snapshot, the rejoin, the restore, the split and the build.
  EXPECT_GT(failures, 40);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n");
  EXPECT_FALSE(folder.Exists("A01Tam"));
}

TEST_F(ArchiveTest, AnUnreadableUnrelatedFileNeitherFailsALoadNorIsTouchedByItsRollback) {
  const std::string archive = "\f@B02Aqu\r\nB line\r\n\f@E02Aqu\r\nE1\r\nE2\r\n";
  folder.Write("Archive/RACES", archive);
  folder.Write("Notes.DOC", "the user's own file\r\n");
  // Every operation on it fails, as on a file the user may not read, with another text
  // than the walk's failures, so that touching it shows.
  const long failures = FailEachOperation(folder, [&] {
    FaultInjection::FailPath(Base() + "Notes.DOC", EIO);
    LoadSteps steps(Base(), {"A01Tam", "X01Tam", "E01Tam"});
    LoadArchive(Base(), ArchivePath(Base(), "RACES"), steps.Current(), steps.Steps());
  });
  EXPECT_GT(failures, 20);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), archive);
  EXPECT_EQ(folder.Read("Notes.DOC"), "the user's own file\r\n");
}

}  // namespace
