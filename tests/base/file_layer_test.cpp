#include "base/file_layer.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/error_text.h"
#include "support/temp_folder.h"

namespace {

// Every test starts and ends without an armed fault.
class FileLayerTest : public ::testing::Test {
 protected:
  FileLayerTest() { FaultInjection::Disarm(); }
  ~FileLayerTest() override { FaultInjection::Disarm(); }

  // The lines ReadLine gives for a file holding `bytes`.
  std::vector<std::string> LinesOf(const std::string& bytes) {
    InputFile file(folder.Write("lines.txt", bytes));
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadLine(line)) lines.push_back(line);
    EXPECT_FALSE(file.ReadLine(line)) << "the text stays ended";
    return lines;
  }

  TempFolder folder;
};

struct ErrorCase {
  int errorNumber;
  const char* text;
};

// Each text names the file it happened on.
TEST_F(FileLayerTest, InjectedSystemErrorsGiveTheUsersTexts) {
  const std::string path = folder.Write("present.txt", "x");
  const ErrorCase cases[] = {
      {ENOENT, "File not found"},     {EMFILE, "Too many open files"}, {ENFILE, "Too many open files"},
      {EACCES, "File access denied"}, {EPERM, "File access denied"},   {EROFS, "File access denied"},
      {ENOSPC, "Disk full"},
#ifdef EDQUOT
      {EDQUOT, "Disk full"},
#endif
      {EIO, "I/O error 5"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.text);
    FaultInjection::Arm(1, c.errorNumber);
    try {
      InputFile file(path);
      ADD_FAILURE() << "no failure for errno " << c.errorNumber;
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), std::string(c.text) + ": " + path);
      EXPECT_EQ(error.SystemErrorNumber(), c.errorNumber);
    }
  }
}

TEST_F(FileLayerTest, AnInjectedFaultFiresOnceAtTheArmedOperation) {
  const std::string path = folder.Write("present.txt", "x");
  FaultInjection::Arm(3, EIO);
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(FileExists(path));
  EXPECT_THROW(FileExists(path), IoError);
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(FaultInjection::OperationCount(), 4);
}

TEST_F(FileLayerTest, MissingFileAndMissingFolderGiveDifferentTexts) {
  struct Case {
    std::string path;
    const char* text;
  } const cases[] = {
      {folder.Path() + "absent.txt", "File not found"},
      {folder.Path() + "NoSuchFolder/absent.txt", "Invalid filename"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      InputFile file(c.path);
      ADD_FAILURE() << "opened a missing file";
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), std::string(c.text) + ": " + c.path);
      EXPECT_EQ(error.SystemErrorNumber(), ENOENT);
    }
    EXPECT_THROW(ReadFile(c.path), IoError);
  }
  // Creating a file in a missing folder is the same "Invalid filename".
  try {
    OutputFile file(folder.Path() + "NoSuchFolder/new.txt");
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "Invalid filename: " + folder.Path() + "NoSuchFolder/new.txt");
  }
}

TEST_F(FileLayerTest, ReadExactPastTheEndThrowsReadBeyondEndOfFile) {
  const std::string path = folder.Write("short.bin", "0123456789");
  InputFile file(path);
  char buffer[8];
  file.ReadExact(buffer, 8);
  EXPECT_EQ(std::string(buffer, 8), "01234567");
  try {
    file.ReadExact(buffer, 8);
    ADD_FAILURE() << "read 8 bytes from the last 2";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "Read beyond end of file: " + path);
    EXPECT_EQ(error.SystemErrorNumber(), 0);
  }
}

TEST_F(FileLayerTest, ReadContinuesWhereReadLineStopped) {
  InputFile file(folder.Write("mixed.bin", "head\r\nBODY"));
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "head");
  char buffer[4];
  file.ReadExact(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "BODY");
  EXPECT_EQ(file.Read(buffer, 4), 0u);
}

TEST_F(FileLayerTest, StreamTextNamesTheTargetWhenTheFolderIsMissing) {
  const std::string target = folder.Path() + "Help/A-Report.HLP";
  // The reason is the system's own text for the error.
  const std::string expected = "Cannot create file \"" + target + "\". " + std::generic_category().message(ENOENT);
  try {
    ReplaceFile(target, "text", CreateFailure::StreamText);
    ADD_FAILURE() << "replaced a file in a missing folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), expected);
    EXPECT_EQ(error.SystemErrorNumber(), ENOENT);
  }
  try {
    AtomicFile file(target, CreateFailure::StreamText);
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), expected);
  }
  // The ordinary texts are used unless the stream text is asked for; they too name the
  // file to be replaced, not its temporary file.
  try {
    ReplaceFile(target, "text");
    ADD_FAILURE() << "replaced a file in a missing folder";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "Invalid filename: " + target);
  }
}

TEST_F(FileLayerTest, StreamTextCarriesTheSystemsReasonOfAnInjectedCreateFailure) {
  const std::string target = folder.Path() + "full.txt";
  FaultInjection::Arm(1, ENOSPC);
  try {
    ReplaceFile(target, "text", CreateFailure::StreamText);
    ADD_FAILURE() << "no failure injected";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "Cannot create file \"" + target + "\". " + std::generic_category().message(ENOSPC));
    EXPECT_EQ(error.SystemErrorNumber(), ENOSPC);
  }
  EXPECT_FALSE(folder.Exists("full.txt"));
}

// A replacement that fails at any of its operations leaves the old file whole and
// no temporary file behind; once no operation fails the new content is in place.
TEST_F(FileLayerTest, AFailedReplaceLeavesTheOldFileWhole) {
  const std::string oldContent = "old line 1\r\nold line 2\r\n";
  const std::string path = folder.Write("Vantrose.TXT", oldContent);
  const std::string bigLine(70000, 'n');
  long failures = 0;
  for (long k = 1; k < 100; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, EIO);
    bool failed = false;
    try {
      AtomicFile file(path);
      file.WriteLine("new line 1");
      file.Write(bigLine);
      file.WriteLine("");
      file.Commit();
    } catch (const IoError& error) {
      failed = true;
      EXPECT_EQ(error.what(), "I/O error 5: " + path);  // the file replaced, never its temporary file
    }
    FaultInjection::Disarm();
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{"Vantrose.TXT"});
    if (!failed) {
      EXPECT_EQ(folder.Read("Vantrose.TXT"), "new line 1\r\n" + bigLine + "\r\n");
      break;
    }
    ++failures;
    EXPECT_EQ(folder.Read("Vantrose.TXT"), oldContent);
  }
  // Create, three writes, close and rename.
  EXPECT_EQ(failures, 6);
}

TEST_F(FileLayerTest, ReplaceFileOverwritesALongerFile) {
  const std::string path = folder.Write("f.txt", std::string(1000, 'o'));
  ReplaceFile(path, "short");
  EXPECT_EQ(folder.Read("f.txt"), "short");
  EXPECT_FALSE(folder.Exists(AtomicFile::TemporaryPathFor("f.txt")));
}

// Paths past the 260 characters Windows once allowed. On Windows the runtime's directory
// iterator listed the current folder instead of such a folder: listings and the lookup
// of names must show the folder asked for.
TEST_F(FileLayerTest, FilesBelowAFolderLongerThan260CharactersAreWrittenListedAndFound) {
  std::string relative;
  while (relative.size() < 280) relative += std::string(40, 'd') + "/";
  const std::string deep = JoinPath(folder.Path(), relative);
  for (std::size_t part = relative.find('/'); part != std::string::npos; part = relative.find('/', part + 1))
    CreateFolder(JoinPath(folder.Path(), relative.substr(0, part)));
  ASSERT_TRUE(FolderExists(deep));
  CreateFolder(JoinPath(deep, "Help"));

  const std::string file = JoinPath(deep, "Help/A-Report.HLP");
  ASSERT_GT(file.size(), 300u);
  ReplaceFile(file, "first\r\n");
  ReplaceFile(file, "second\r\nline\r\n");  // atomic replace over the existing file
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(FileSize(file), 14u);
  EXPECT_EQ(ReadLines(file), (std::vector<std::string>{"second", "line"}));
  EXPECT_EQ(ResolvePath(deep, "HELP/a-report.hlp"), file);
  EXPECT_EQ(ListFolder(JoinPath(deep, "Help")), std::vector<std::string>{"A-Report.HLP"});
  RenameFile(file, JoinPath(deep, "Help/B-Report.HLP"));
  DeleteFile(JoinPath(deep, "Help/B-Report.HLP"));
  EXPECT_TRUE(ListFolder(JoinPath(deep, "Help")).empty());
}

TEST_F(FileLayerTest, ListingWhatIsNoFolderFails) {
  folder.Write("file.txt", "x");
  folder.MakeFolder("empty");
  EXPECT_TRUE(ListFolder(JoinPath(folder.Path(), "empty")).empty());
  struct Case {
    const char* name;
    const char* text;
  } const cases[] = {{"missing", "File not found"}, {"file.txt", "Invalid filename"}};
  for (const Case& c : cases) {
    const std::string path = JoinPath(folder.Path(), c.name);
    try {
      ListFolder(path);
      ADD_FAILURE() << "listed " << c.name;
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), IoErrorTextFor(c.text, path));
    }
  }
}

// ---- Writing never leaves the file's own path ----

namespace fs = std::filesystem;

// The ways the program writes a file of its own.
struct Writer {
  const char* name;
  std::function<void(const std::string& path)> write;  // writes "new" to `path`
};

const Writer kWriters[] = {
    {"a work file",
     [](const std::string& path) {
       OutputFile file(path);
       file.Write("new");
       file.Close();
     }},
    {"a replaced file", [](const std::string& path) { ReplaceFile(path, "new"); }},
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Makes a symbolic link, or skips the test where the system lets this process make
// none (Windows without the privilege).
#define LINK_OR_SKIP(make)                                                         \
  do {                                                                             \
    try {                                                                          \
      make;                                                                        \
    } catch (const fs::filesystem_error& error) {                                  \
      GTEST_SKIP() << "this system makes no symbolic link here: " << error.what(); \
    }                                                                              \
  } while (false)

// A link (dangling or not) or a second hard link planted at the file's path, or at
// the temporary file of a replace, is replaced itself: what it points to, or the
// file's other name, never changes or appears.
TEST_F(FileLayerTest, NoWriteGoesThroughALinkPlantedAtTheFilesPath) {
  const std::string outside = folder.MakeFolder("outside");
  struct Plant {
    const char* name;
    std::function<void(const std::string& at)> plant;
  } const plants[] = {
      {"hard link", [&](const std::string& at) { fs::create_hard_link(outside + "victim", at); }},
      {"link to a file", [&](const std::string& at) { fs::create_symlink(outside + "victim", at); }},
      {"dangling link", [&](const std::string& at) { fs::create_symlink(outside + "created", at); }},
      {"link to a folder", [&](const std::string& at) { fs::create_directory_symlink(outside, at); }},
  };
  for (const Writer& writer : kWriters) {
    for (const Plant& plant : plants) {
      for (const bool atTemporary : {false, true}) {
        SCOPED_TRACE(std::string(writer.name) + ", " + plant.name + (atTemporary ? " at the temporary file" : ""));
        if (atTemporary && std::string(writer.name) == "a work file") continue;  // a work file has none
        const std::string work = folder.MakeFolder("work");
        folder.Write("outside/victim", "the user's file");
        const std::string path = work + "Vantrose.TXT";
        LINK_OR_SKIP(plant.plant(atTemporary ? AtomicFile::TemporaryPathFor(path) : path));

        writer.write(path);
        EXPECT_FALSE(fs::is_symlink(path));
        EXPECT_EQ(folder.Read("work/Vantrose.TXT"), "new");
        EXPECT_EQ(folder.Read("outside/victim"), "the user's file");
        EXPECT_FALSE(folder.Exists("outside/created"));
        EXPECT_EQ(ListFolder(outside), std::vector<std::string>{"victim"});
        EXPECT_EQ(ListFolder(work), std::vector<std::string>{"Vantrose.TXT"});
        fs::remove_all(work);
      }
    }
  }
}

// A folder, a pipe or a read-only file where the file goes is refused and left as it
// is; a pipe never makes the program wait for a reader.
TEST_F(FileLayerTest, AFolderAPipeOrAReadOnlyFileIsRefusedAndLeftAlone) {
  struct Obstacle {
    const char* name;
    std::function<void(const std::string& at)> make;
  } const obstacles[] = {
      {"folder", [](const std::string& at) { fs::create_directory(at); }},
#ifndef _WIN32
      {"pipe", [](const std::string& at) { ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); }},
#endif
      {"read-only file",
       [this](const std::string& at) {
         folder.Write("Vantrose.TXT", "kept");
         fs::permissions(at, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       }},
  };
  for (const Writer& writer : kWriters) {
    for (const Obstacle& obstacle : obstacles) {
      SCOPED_TRACE(std::string(writer.name) + " over a " + obstacle.name);
      const std::string path = folder.Path() + "Vantrose.TXT";
      obstacle.make(path);
      const fs::file_status before = fs::symlink_status(path);
      EXPECT_TRUE(Contains(ThrownText([&] { writer.write(path); }), "File access denied"));
      EXPECT_EQ(fs::symlink_status(path).type(), before.type());
      EXPECT_EQ(fs::symlink_status(path).permissions(), before.permissions());
      if (fs::is_regular_file(path)) {
        EXPECT_EQ(folder.Read("Vantrose.TXT"), "kept");
      }
      EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{"Vantrose.TXT"}) << "no temporary file left";
      fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);  // Windows deletes no read-only file
      fs::remove_all(path);
    }
  }
}

#ifndef _WIN32  // Windows files have a read-only attribute, refused above, and no modes
TEST_F(FileLayerTest, WrittenFilesKeepTheirPermissions) {
  for (const Writer& writer : kWriters) {
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                                 fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec}) {
      SCOPED_TRACE(std::string(writer.name) + ", mode " + std::to_string(static_cast<int>(mode)));
      const std::string path = folder.Write("Vantrose.TXT", "old");
      fs::permissions(path, mode);
      writer.write(path);
      EXPECT_EQ(fs::status(path).permissions(), mode);
      EXPECT_EQ(folder.Read("Vantrose.TXT"), "new");
      fs::remove(path);
    }
  }
}
#endif

// The output file a user names for a command is written where a link there points.
TEST_F(FileLayerTest, AFileTheUserNamedIsWrittenThroughItsLink) {
  const std::string target = folder.Write("jobs/today.pcl", "old job");
  const std::string link = folder.Path() + "day.pcl";
  LINK_OR_SKIP(fs::create_symlink(target, link));
  OutputFile file(link, AtLink::FollowLink);
  file.Write("new job");
  file.Close();
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(folder.Read("jobs/today.pcl"), "new job");
}

TEST_F(FileLayerTest, ReadingFollowsTheUsersLinks) {
  const std::string target = folder.Write("elsewhere/day.txt", "linked day\r\n");
  LINK_OR_SKIP(fs::create_symlink(target, folder.Path() + "Vantrose.TXT"));
  EXPECT_EQ(ReadFile(folder.Path() + "Vantrose.TXT"), "linked day\r\n");
  EXPECT_TRUE(FileExists(folder.Path() + "Vantrose.TXT"));
}

TEST_F(FileLayerTest, PathsTheSystemTakesAndPathsItRefuses) {
#ifdef _WIN32
  constexpr std::size_t kLongestPath = 32766;  // UTF-16 units
#else
  constexpr std::size_t kLongestPath = PATH_MAX - 1;
#endif
  struct Case {
    std::string path;
    bool fits;
  } const cases[] = {
      {"/home/user/RavelstowData/Vantrose/Vantrose.TXT", true},
      {"/" + std::string(255, 'n') + "/file", true},
      {"/" + std::string(256, 'n') + "/file", false},
      {std::string(kLongestPath, '/'), true},
      {std::string(kLongestPath + 1, '/'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(PathFitsSystem(c.path), c.fits) << c.path.size() << " bytes";
}

TEST_F(FileLayerTest, ReadLineSplitsAtEveryKindOfLineEnd) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } const cases[] = {
      {"CR LF, LF and CR", "one\r\ntwo\nthree\rfour\r\n", {"one", "two", "three", "four"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"empty lines are lines", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
      {"last line without a line end", "first\r\nlast", {"first", "last"}},
      {"a lone line end", "\r\n", {""}},
      {"empty file", "", {}},
      {"byte 26 ends the text", std::string("first\r\nsec") + '\x1A' + "ond\r\nthird\r\n", {"first", "sec"}},
      {"byte 26 after a line end", std::string("only\r\n") + '\x1A' + "more\r\n", {"only"}},
      {"byte 26 first", std::string(1, '\x1A') + "text\r\n", {}},
      {"bytes above 127 are text", "\xC9\xCD\xBB\r\n\xBA \xBA", {"\xC9\xCD\xBB", "\xBA \xBA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinesOf(c.bytes), c.lines);
  }
}

// The file is read in pieces of 64 KiB; line ends and lines may straddle them.
TEST_F(FileLayerTest, ReadLineAcrossTheReadBufferBoundary) {
  constexpr std::size_t kBuffer = 64 * 1024;
  const std::string full(kBuffer - 1, 'x');
  const std::string longLine(kBuffer + 10000, 'y');
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } const cases[] = {
      {"CR LF split by the boundary", full + "\r\nnext\r\n", {full, "next"}},
      {"CR as the last byte of the buffer, LF missing", full + "\rnext", {full, "next"}},
      {"CR as the last byte of the file", full + "\r", {full}},
      {"line ending exactly at the boundary", full + "\n" + "next", {full, "next"}},
      {"line longer than the buffer", "a\r\n" + longLine + "\r\nz", {"a", longLine, "z"}},
      {"byte 26 in the second buffer", full + "\r\n" + "tail" + '\x1A' + "gone", {full, "tail"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinesOf(c.bytes), c.lines);
  }
}

TEST_F(FileLayerTest, ResolvePathFindsDeliveredFilesIgnoringCase) {
  folder.Write("data/vantrose.dat", "d");
  const std::string& base = folder.Path();
  const std::string stored = JoinPath(base, "data/vantrose.dat");
  EXPECT_EQ(ResolvePath(base, "Data/Vantrose.DAT"), stored);
  EXPECT_EQ(ResolvePath(base, "DATA\\VANTROSE.dat"), stored);
  EXPECT_EQ(ResolvePath(base, "data/vantrose.dat"), stored);
}

TEST_F(FileLayerTest, ResolvePathPrefersAnExactMatchThenNameOrder) {
  if (!folder.KeepsLetterCaseApart()) GTEST_SKIP() << kOneFileForEveryCase;
  folder.Write("Exec/Vantrose.OPT", "exact");
  folder.Write("Exec/vantrose.opt", "lower");
  folder.Write("exec/VANTROSE.OPT", "other folder");
  const std::string& base = folder.Path();
  EXPECT_EQ(ResolvePath(base, "Exec/Vantrose.OPT"), JoinPath(base, "Exec/Vantrose.OPT"));
  EXPECT_EQ(ResolvePath(base, "exec/vantrose.opt"), JoinPath(base, "exec/VANTROSE.OPT"));
  // No exact match: the first equal name in name order ("E" sorts before "e").
  EXPECT_EQ(ResolvePath(base, "EXEC/VANTROSE.Opt"), JoinPath(base, "Exec/Vantrose.OPT"));
}

TEST_F(FileLayerTest, ResolvePathKeepsTheGivenSpellingWhereNothingMatches) {
  folder.MakeFolder("data");
  const std::string& base = folder.Path();
  EXPECT_EQ(ResolvePath(base, "Data/New.TXT"), JoinPath(base, "data/New.TXT"));
  EXPECT_EQ(ResolvePath(base, "Archive/Saved.TXT"), JoinPath(base, "Archive/Saved.TXT"));
  EXPECT_EQ(ResolvePath(base, "Vantrose.TXT"), JoinPath(base, "Vantrose.TXT"));
}

TEST_F(FileLayerTest, OwnFilePathKeepsTheFileNameButResolvesTheFolder) {
  folder.Write("exec/vantrose.opt", "old spelling");
  folder.Write("vantrose.txt", "old spelling");
  const std::string& base = folder.Path();
  EXPECT_EQ(OwnFilePath(base, "Exec/Vantrose.OPT"), JoinPath(base, "exec/Vantrose.OPT"));
  EXPECT_EQ(OwnFilePath(base, "Vantrose.TXT"), JoinPath(base, "Vantrose.TXT"));
  EXPECT_EQ(OwnFilePath(base, "Help/A-Report.HLP"), JoinPath(base, "Help/A-Report.HLP"));
}

}  // namespace
