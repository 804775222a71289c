#include "platform/desktop_entry.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Table = std::map<std::string, std::string>;

// DesktopFolder over a fixed environment and a fixed set of readable files.
std::string DesktopFolderFor(const Table& environment, const Table& files) {
  return DesktopFolder(
      [&](const std::string& name) -> std::optional<std::string> {
        const auto it = environment.find(name);
        return it == environment.end() ? std::nullopt : std::optional<std::string>(it->second);
      },
      [&](const std::string& path) -> std::optional<std::string> {
        const auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
      });
}

const std::string kUserDirs =
    "# This file is written by xdg-user-dirs-update\n"
    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
    "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
    "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n";

TEST(DesktopFolderTest, PrecedenceOfTheSources) {
#ifdef _WIN32
  GTEST_SKIP() << "the XDG desktop folder and its POSIX paths are Linux's; on Windows the registry names "
                  "the desktop folder";
#endif
  struct Case {
    const char* name;
    Table environment;
    Table files;
    std::string folder;
  } const cases[] = {
      {"XDG_DESKTOP_DIR wins",
       {{"HOME", "/home/u"}, {"XDG_DESKTOP_DIR", "/srv/desk"}},
       {{"/home/u/.config/user-dirs.dirs", kUserDirs}},
       "/srv/desk"},
      {"an empty XDG_DESKTOP_DIR counts as unset",
       {{"HOME", "/home/u"}, {"XDG_DESKTOP_DIR", ""}},
       {{"/home/u/.config/user-dirs.dirs", kUserDirs}},
       "/home/u/Schreibtisch"},
      {"user-dirs.dirs with $HOME expanded",
       {{"HOME", "/home/u"}},
       {{"/home/u/.config/user-dirs.dirs", kUserDirs}},
       "/home/u/Schreibtisch"},
      {"user-dirs.dirs with an absolute folder and CR LF lines",
       {{"HOME", "/home/u/"}},
       {{"/home/u/.config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/M\"\r\nXDG_DESKTOP_DIR=\"/data/desk\"\r\n"}},
       "/data/desk"},
      {"user-dirs.dirs under XDG_CONFIG_HOME",
       {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}},
       {{"/cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/FromConfigHome\"\n"},
        {"/home/u/.config/user-dirs.dirs", kUserDirs}},
       "/home/u/FromConfigHome"},
      {"XDG_CONFIG_HOME without the file: HOME/Desktop",
       {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}},
       {{"/home/u/.config/user-dirs.dirs", kUserDirs}},
       "/home/u/Desktop"},
      {"no user-dirs.dirs", {{"HOME", "/home/u"}}, {}, "/home/u/Desktop"},
      {"user-dirs.dirs without a desktop line",
       {{"HOME", "/home/u"}},
       {{"/home/u/.config/user-dirs.dirs", "# XDG_DESKTOP_DIR=\"$HOME/Commented\"\nXDG_MUSIC_DIR=\"$HOME/M\"\n"}},
       "/home/u/Desktop"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DesktopFolderFor(c.environment, c.files), c.folder);
  }
}

// The "key=value" lines of a desktop entry text after its group header.
Table EntryKeys(const std::string& text, std::string& header) {
  Table keys;
  std::size_t start = 0;
  header.clear();
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (header.empty()) {
      header = line;
      continue;
    }
    const auto equals = line.find('=');
    EXPECT_NE(equals, std::string::npos) << line;
    if (equals == std::string::npos) continue;
    EXPECT_EQ(keys.count(line.substr(0, equals)), 0u) << "key twice: " << line;
    keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

TEST(DesktopEntryTextTest, RunsTheTargetInItsOwnFolder) {
  const std::string text = DesktopEntryText("/home/u/My Apps/Exec/vantrose", "Ravelstow VANTROSE");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  std::string header;
  const Table keys = EntryKeys(text, header);
  EXPECT_EQ(header, "[Desktop Entry]");
  EXPECT_EQ(keys.at("Type"), "Application");
  EXPECT_EQ(keys.at("Name"), "Ravelstow VANTROSE");
  EXPECT_EQ(keys.at("Exec"), "\"/home/u/My Apps/Exec/vantrose\"");
  EXPECT_EQ(keys.at("Path"), "/home/u/My Apps/Exec/");
  EXPECT_EQ(DesktopEntryFileName("Ravelstow VANTROSE"), "Ravelstow VANTROSE.desktop");
}

// Inside the quotes of Exec, '"', '`', '$' and '\' take a backslash, and the
// string escaping of the file doubles every backslash; '%' is written "%%".
TEST(DesktopEntryTextTest, ExecQuotesReservedCharacters) {
  struct Case {
    std::string target;
    std::string exec;
  } const cases[] = {
      {"/opt/a$b/run", R"("/opt/a\\$b/run")"},
      {"/opt/100%/run", R"("/opt/100%%/run")"},
      {"/opt/say \"hi\"/run", R"("/opt/say \\"hi\\"/run")"},
      {"/opt/back\\slash/run", R"("/opt/back\\\\slash/run")"},
      {"/opt/tick`/run", R"("/opt/tick\\`/run")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    std::string header;
    EXPECT_EQ(EntryKeys(DesktopEntryText(c.target, "T"), header).at("Exec"), c.exec);
  }
}

}  // namespace
