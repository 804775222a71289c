#include "base/working_folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

// `path` with "/" written as the native separator.
std::string Native(const std::string& path) { return JoinPath("", path); }

TEST(SettleFoldersTest, ProfileFolderAndWorkingFolder) {
  const std::string long240(240, 'p');
  const std::string user = Native("/home/user"), userSlash = Native("/home/user/"), other = Native("/home/other");
  struct Case {
    const char* name;
    const char* userProfile;
    const char* home;
    std::string homeFolder;
    std::string baseFolder;
  } const cases[] = {
      {"USERPROFILE wins", user.c_str(), other.c_str(), Native("/home/user/"),
       Native("/home/user/RavelstowData/Vantrose/")},
      {"HOME when USERPROFILE is unset", nullptr, other.c_str(), Native("/home/other/"),
       Native("/home/other/RavelstowData/Vantrose/")},
      {"neither: the root", nullptr, nullptr, Native("/"), Native("/RavelstowData/Vantrose/")},
      {"separator not doubled", userSlash.c_str(), nullptr, Native("/home/user/"),
       Native("/home/user/RavelstowData/Vantrose/")},
      {"a long profile kept whole", long240.c_str(), nullptr, Native(long240 + "/"),
       Native(long240 + "/RavelstowData/Vantrose/")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WorkingFolders folders = SettleFolders(c.userProfile, c.home);
    EXPECT_EQ(folders.homeFolder, c.homeFolder);
    EXPECT_EQ(folders.baseFolder, c.baseFolder);
  }
}

// A cut path names another folder (the parent, once the cut falls there): the path
// stays whole, and only a path the system refuses is an error, one that names it.
TEST(SettleFoldersTest, PathsAreNeverCutAndOnlyOnesTheSystemRefusesAreAnError) {
  const std::string deepProfile = Native("/srv" + [] {
    std::string parts;
    for (int i = 0; i < 8; ++i) parts += "/" + std::string(50, static_cast<char>('a' + i));
    return parts;
  }());
  const WorkingFolders deep = SettleFolders(deepProfile.c_str(), nullptr);
  EXPECT_EQ(deep.baseFolder, Native(deepProfile + "/RavelstowData/Vantrose/"));
  EXPECT_NO_THROW(CheckFolderPath(deep.baseFolder));

  std::string tooLong = "/srv";
  while (tooLong.size() < 40000) tooLong += "/" + std::string(200, 'x');  // past Linux's and Windows' limits
  const std::string longPart = "/srv/" + std::string(256, 'p');           // one part longer than a file name may be
  for (const std::string& profile : {Native(tooLong), Native(longPart)}) {
    const WorkingFolders folders = SettleFolders(profile.c_str(), nullptr);
    EXPECT_EQ(folders.baseFolder, Native(profile + "/RavelstowData/Vantrose/"));
    try {
      CheckFolderPath(folders.baseFolder);
      ADD_FAILURE() << "accepted a path of " << folders.baseFolder.size() << " bytes";
    } catch (const IoError& error) {
      EXPECT_EQ(std::string(error.what()),
                "The working folder's path is too long for this system: " + folders.baseFolder);
    }
  }
}

class WorkingFoldersTest : public ::testing::Test {
 protected:
  WorkingFoldersTest() { FaultInjection::Disarm(); }
  ~WorkingFoldersTest() override { FaultInjection::Disarm(); }

  TempFolder folder;
};

TEST_F(WorkingFoldersTest, InstallFilesWritesTheBuiltInBytesOverOldContent) {
  folder.MakeFolder("Help");
  const std::string stale(20000, 's');  // longer than any resource
  folder.Write("Help/A-Report.HLP", stale);
  folder.Write("Help/E-Report.HLP", "short");
  folder.Write("SimoDump.LST", stale);

  InstallFiles(folder.Path());

  struct Expected {
    const char* resource;
    const char* file;
  } const files[] = {
      {"A", "Help/A-Report.HLP"}, {"X", "Help/X-Report.HLP"}, {"E", "Help/E-Report.HLP"},
      {"B", "Help/B-Report.HLP"}, {"Z", "SimoDump.LST"},
  };
  for (const Expected& f : files) {
    SCOPED_TRACE(f.file);
    const std::string_view resource = FindResource(f.resource);
    EXPECT_FALSE(resource.empty());
    EXPECT_EQ(folder.Read(f.file), resource);
  }
  EXPECT_EQ(FindResource("A"), FindResource("X"));
  EXPECT_EQ(ListFolder(folder.Path() + "Help/"),
            (std::vector<std::string>{"A-Report.HLP", "B-Report.HLP", "E-Report.HLP", "X-Report.HLP"}));
}

// The lines of a code page 437 text with CR LF line ends.
std::vector<std::string> CrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) {
      ADD_FAILURE() << "a last line without CR LF";
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(BuiltInResources, HelpTextsHaveTheirSizesTitlesAndTheFramedNotice) {
  struct Case {
    const char* resource;
    std::size_t size;
    const char* title;  // the file the title line names
  } const cases[] = {
      {"A", 3054, "A-Report.HLP"},
      {"X", 3054, "A-Report.HLP"},
      {"E", 6143, "E-Report.HLP"},
      {"B", 2135, "B-Report.HLP"},
  };
  const std::string bottomFrame = "\xC8" + std::string(76, '\xCD') + "\xBC";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resource);
    const std::string_view text = FindResource(c.resource);
    EXPECT_EQ(text.size(), c.size);
    const std::vector<std::string> lines = CrLfLines(text);
    ASSERT_GT(lines.size(), 9u);
    EXPECT_EQ(lines[1].rfind(std::string("\xBA ") + c.title, 0), 0u) << lines[1];
    EXPECT_EQ(lines.back(), bottomFrame);
    EXPECT_NE(lines[lines.size() - 5].find("Ravelstow"), std::string::npos);
  }
  EXPECT_EQ(FindResource("Z").size(), 4704u);
}

// The B text is a sample chart and nothing else: between its title and the maker's
// notice every line is blank or a chart line, with the chart's frame at column 42.
TEST(BuiltInResources, BHelpTextIsAChartWithoutAnnotations) {
  const std::vector<std::string> lines = CrLfLines(FindResource("B"));
  ASSERT_GT(lines.size(), 9u);
  const std::string_view frame = "\xDA\xB3\xC3\xC0";  // top corner, bar, tee, bottom corner
  int chartLines = 0;
  for (std::size_t i = 3; i + 6 < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    EXPECT_TRUE(lines[i].size() > 41 && frame.find(lines[i][41]) != std::string_view::npos)
        << "line " << i + 1 << " is no chart line: " << lines[i];
    ++chartLines;
  }
  EXPECT_GE(chartLines, 10);
}

TEST_F(WorkingFoldersTest, InstallFilesUsesTheHelpFolderWhateverItsCase) {
  folder.MakeFolder("help");
  InstallFiles(folder.Path());
  EXPECT_EQ(folder.Read("help/B-Report.HLP"), FindResource("B"));
  EXPECT_EQ(ListFolder(folder.Path()), (std::vector<std::string>{"SimoDump.LST", "help"}));
}

TEST_F(WorkingFoldersTest, AMissingHelpFolderGivesTheCannotCreateText) {
  try {
    InstallFiles(folder.Path());
    ADD_FAILURE() << "installed into a missing Help folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "Cannot create file \"" + JoinPath(folder.Path(), "Help/A-Report.HLP") + "\". " +
                                std::generic_category().message(ENOENT));
  }
  EXPECT_FALSE(folder.Exists("SimoDump.LST")) << "the steps end at the first failure";
}

TEST(FindResourceTest, AnUnknownNameIsNotFound) {
  for (const char* name : {"Q", "", "AX"}) {
    try {
      FindResource(name);
      ADD_FAILURE() << "found resource \"" << name << '"';
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), "Resource " + std::string(name) + " not found");
      EXPECT_EQ(error.SystemErrorNumber(), 0);
    }
  }
}

TEST_F(WorkingFoldersTest, RemoveObsoleteFilesDeletesOnlyListedFilesThatExist) {
  folder.Write("Old32.EXE", "old");
  folder.Write("Keep.DLL", "keep");
  folder.MakeFolder("Stub.EXE");  // a folder of a listed name is not a file
  RemoveObsoleteFiles(folder.Path(), {"Missing.EXE", "Old32.EXE", "Stub.EXE"});
  EXPECT_FALSE(folder.Exists("Old32.EXE"));
  EXPECT_TRUE(folder.Exists("Keep.DLL"));
  EXPECT_TRUE(folder.Exists("Stub.EXE"));
  RemoveObsoleteFiles(folder.Path(), {"Missing.EXE", "Old32.EXE"});  // nothing left to do
}

TEST_F(WorkingFoldersTest, AnObsoleteFileThatCannotBeDeletedEndsTheStep) {
  folder.Write("Old32.EXE", "old");
  folder.Write("Old.DLL", "old");
  FaultInjection::Arm(2, EACCES);  // the test for Old32.EXE passes, its deletion fails
  try {
    RemoveObsoleteFiles(folder.Path(), {"Old32.EXE", "Old.DLL"});
    ADD_FAILURE() << "no failure";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "File access denied: " + folder.Path() + "Old32.EXE");
  }
  EXPECT_TRUE(folder.Exists("Old32.EXE"));
  EXPECT_TRUE(folder.Exists("Old.DLL"));
}

TEST_F(WorkingFoldersTest, UserIdTextIsTheFirstLineOfTheInstallationsFile) {
  EXPECT_EQ(ReadUserIdText(folder.Path()), "0000") << "no file";

  struct Case {
    const char* file;
    std::string bytes;
    const char* userId;
  } const cases[] = {
      {"Exec/Vantrose.UID", "7Q2X\r\nsecond line\r\n", "7Q2X"},
      {"Exec/Vantrose.UID", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO"},
      {"exec/vantrose.uid", "lower\n", "lower"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + (" holding " + c.bytes));
    TempFolder base;
    base.Write(c.file, c.bytes);
    EXPECT_EQ(ReadUserIdText(base.Path()), c.userId);
  }
}

// ---- The working folder's own folders, which the first start offers to make ----

// `paths` relative to the folder `profile`, "/" between parts.
std::vector<std::string> RelativeTo(const std::string& profile, const std::vector<std::string>& paths) {
  std::vector<std::string> relative;
  for (const std::string& path : paths) {
    EXPECT_EQ(path.rfind(profile, 0), 0u) << path;
    std::string part = path.substr(profile.size());
    std::replace(part.begin(), part.end(), kPathSeparator, '/');
    relative.push_back(part);
  }
  return relative;
}

class MissingFoldersTest : public WorkingFoldersTest {
 protected:
  WorkingFolders Folders() const { return SettleFolders(folder.Path().c_str(), nullptr); }
};

TEST_F(MissingFoldersTest, ListsWhatIsMissingInTheOrderToMakeItAndSaysSo) {
  const std::string base = "RavelstowData/Vantrose/";
  struct Case {
    const char* name;
    std::vector<std::string> present;  // folders below the profile
    std::vector<std::string> missing;
    std::string text;      // after the working folder's name
    std::string question;  // after that, from the full stop on
  } const cases[] = {
      {"a bare profile",
       {},
       {"RavelstowData/", base, base + "Data/", base + "Exec/", base + "Help/", base + "Archive/"},
       " does not exist",
       ".\n\nCreate it, with its folders Data, Exec, Help and Archive?"},
      {"RavelstowData without Vantrose",
       {"RavelstowData"},
       {base, base + "Data/", base + "Exec/", base + "Help/", base + "Archive/"},
       " does not exist",
       ".\n\nCreate it, with its folders Data, Exec, Help and Archive?"},
      {"two sub-folders, one in another letter case",
       {base + "data", base + "Exec"},
       {base + "Help/", base + "Archive/"},
       " lacks its folders Help and Archive",
       ".\n\nCreate them?"},
      {"three sub-folders",
       {base + "Data", base + "Exec", base + "Help"},
       {base + "Archive/"},
       " lacks its folder Archive",
       ".\n\nCreate it?"},
      {"an empty working folder",
       {base},
       {base + "Data/", base + "Exec/", base + "Help/", base + "Archive/"},
       " lacks its folders Data, Exec, Help and Archive",
       ".\n\nCreate them?"},
      {"everything, in any letter case", {base + "DATA", base + "exec", base + "Help", base + "archive"}, {}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder profile;
    for (const std::string& present : c.present) profile.MakeFolder(present);
    const WorkingFolders folders = SettleFolders(profile.Path().c_str(), nullptr);
    const std::vector<std::string> missing = MissingFolders(folders);
    EXPECT_EQ(RelativeTo(profile.Path(), missing), c.missing);
    if (missing.empty()) continue;
    const std::string named = "the working folder \"" + folders.baseFolder + "\"";
    EXPECT_EQ(MissingFoldersText(folders, missing), named + c.text);
    EXPECT_EQ(MakeFoldersQuestion(folders, missing), "T" + named.substr(1) + c.text + c.question);
  }
}

TEST_F(MissingFoldersTest, MakingThemMakesExactlyTheListedFolders) {
  folder.MakeFolder("RavelstowData/Vantrose/help");
  folder.Write("RavelstowData/Vantrose/Vantrose.TXT", "the day");
  MakeFolders(MissingFolders(Folders()));
  EXPECT_EQ(folder.Entries(),
            (std::set<std::string>{"RavelstowData/", "RavelstowData/Vantrose/", "RavelstowData/Vantrose/Archive/",
                                   "RavelstowData/Vantrose/Data/", "RavelstowData/Vantrose/Exec/",
                                   "RavelstowData/Vantrose/Vantrose.TXT", "RavelstowData/Vantrose/help/"}));
  EXPECT_TRUE(MissingFolders(Folders()).empty());

  TempFolder bare;
  const WorkingFolders folders = SettleFolders(bare.Path().c_str(), nullptr);
  MakeFolders(MissingFolders(folders));
  EXPECT_TRUE(MissingFolders(folders).empty());
  InstallFiles(folders.baseFolder);  // the start-up steps find their folders
  EXPECT_EQ(bare.Read("RavelstowData/Vantrose/Help/E-Report.HLP"), FindResource("E"));
}

TEST_F(MissingFoldersTest, AFolderThatCannotBeMadeEndsTheWorkAndKeepsWhatWasMade) {
  const std::vector<std::string> missing = MissingFolders(Folders());
  ASSERT_EQ(missing.size(), 6u);
  FaultInjection::Arm(4, EACCES);  // RavelstowData, Vantrose and Data are made; Exec fails
  try {
    MakeFolders(missing);
    ADD_FAILURE() << "no failure";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(),
              IoErrorTextFor("File access denied", JoinPath(folder.Path(), "RavelstowData/Vantrose/Exec")));
  }
  FaultInjection::Disarm();
  EXPECT_EQ(folder.Entries(),
            (std::set<std::string>{"RavelstowData/", "RavelstowData/Vantrose/", "RavelstowData/Vantrose/Data/"}));
  EXPECT_EQ(RelativeTo(folder.Path(), MissingFolders(Folders())),
            (std::vector<std::string>{"RavelstowData/Vantrose/Exec/", "RavelstowData/Vantrose/Help/",
                                      "RavelstowData/Vantrose/Archive/"}))
      << "the next start asks for the rest";

  // A file where a folder belongs is not taken for the folder.
  folder.Write("RavelstowData/Vantrose/Exec", "not a folder");
  EXPECT_THROW(MakeFolders(MissingFolders(Folders())), IoError);
  EXPECT_EQ(folder.Read("RavelstowData/Vantrose/Exec"), "not a folder");
}

TEST_F(MissingFoldersTest, AProfileFolderThatIsMissingIsNeverMade) {
  const WorkingFolders folders = SettleFolders((folder.Path() + "gone").c_str(), nullptr);
  const std::vector<std::string> missing = MissingFolders(folders);
  ASSERT_FALSE(missing.empty());
  EXPECT_EQ(missing.front(), JoinPath(folder.Path(), "gone/RavelstowData/"));
  try {
    MakeFolders(missing);
    ADD_FAILURE() << "made folders in a missing profile folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), IoErrorTextFor("Invalid filename", JoinPath(folder.Path(), "gone/RavelstowData")));
  }
  EXPECT_TRUE(folder.Entries().empty());
}

// Sets an environment variable for the life of the object, to UTF-8 `value` spelt the
// system's way (Windows keeps the environment in UTF-16).
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
#ifdef _WIN32
    const std::wstring wideName = std::filesystem::path(name).wstring();
    if (const wchar_t* old = _wgetenv(wideName.c_str())) m_old = std::filesystem::path(old).u8string();
    _wputenv_s(wideName.c_str(), std::filesystem::path(std::u8string(value.begin(), value.end())).c_str());
#else
    if (const char* old = std::getenv(name)) m_old = std::u8string(old, old + std::strlen(old));
    setenv(name, value.c_str(), 1);
#endif
  }
  ~ScopedEnvironment() {
#ifdef _WIN32
    const std::wstring wideName = std::filesystem::path(m_name).wstring();
    _wputenv_s(wideName.c_str(), m_old ? std::filesystem::path(*m_old).c_str() : L"");
#else
    if (m_old)
      setenv(m_name.c_str(), reinterpret_cast<const char*>(m_old->c_str()), 1);
    else
      unsetenv(m_name.c_str());
#endif
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string m_name;
  std::optional<std::u8string> m_old;
};

TEST_F(WorkingFoldersTest, AProfileFolderNamedBeyondAsciiIsReadFromTheEnvironmentAndUsed) {
  const std::string name = "Jos\xC3\xA9 M\xC3\xBCller";  // "José Müller" in UTF-8
  std::filesystem::create_directory(std::filesystem::path(folder.Path()) /
                                    std::filesystem::path(std::u8string(name.begin(), name.end())));
  const std::string profile = folder.Path() + name;
  const ScopedEnvironment userProfile("USERPROFILE", profile);
  const WorkingFolders folders = FoldersFromEnvironment();
  EXPECT_EQ(folders.homeFolder, profile + kPathSeparator);
  MakeFolders(MissingFolders(folders));
  InstallFiles(folders.baseFolder);
  EXPECT_EQ(ReadFile(JoinPath(folders.baseFolder, "Help/B-Report.HLP")), FindResource("B"));
  EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{name});
}

}  // namespace
