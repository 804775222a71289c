#include "browser/archive.h"

#include <map>
#include <utility>

#include "base/file_layer.h"
#include "base/working_folders.h"

namespace {

constexpr std::size_t kArchiveNameLimit = 12;
constexpr std::size_t kExtensionLimit = 3;
constexpr std::string_view kForbiddenCharacters = "\"*+,/:;<=>?\\|";
constexpr unsigned char kSuperscriptTwo = 253;  // code page 437

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (AsciiUpper(text[i]) != upper[i]) return false;
  return true;
}

// CON, PRN, AUX, NUL, COM1..COM9 and LPT1..LPT9 (a digit or a superscript two):
// names some systems give to devices, whatever the extension.
bool IsDeviceName(std::string_view baseName) {
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (EqualsIgnoringCase(baseName, device)) return true;
  if (baseName.size() != 4) return false;
  const std::string_view prefix = baseName.substr(0, 3);
  if (!EqualsIgnoringCase(prefix, "COM") && !EqualsIgnoringCase(prefix, "LPT")) return false;
  const auto digit = static_cast<unsigned char>(baseName[3]);
  return (digit >= '1' && digit <= '9') || digit == kSuperscriptTwo;
}

// The top-level files of a folder, kept in memory so that a failed command can put
// them back. Put back unless dismissed; never throws from its destructor.
class FolderRollback {
 public:
  explicit FolderRollback(std::string folder) : m_folder(std::move(folder)) {
    for (const std::string& name : ListFolder(m_folder)) {
      const std::string path = JoinPath(m_folder, name);
      if (FileExists(path)) m_files.emplace(name, ReadFile(path));
    }
  }
  ~FolderRollback() {
    if (m_dismissed) return;
    // Best effort, file by file: one file that cannot be put back must not keep
    // the others from being put back. The failure of the command is reported.
    std::vector<std::string> names;
    try {
      names = ListFolder(m_folder);
    } catch (const IoError&) {
    }
    for (const std::string& name : names) {
      if (m_files.count(name) != 0) continue;
      try {
        const std::string path = JoinPath(m_folder, name);
        if (FileExists(path)) DeleteFile(path);
      } catch (const IoError&) {
      }
    }
    for (const auto& [name, bytes] : m_files) {
      try {
        const std::string path = JoinPath(m_folder, name);
        if (!FileExists(path) || ReadFile(path) != bytes) ReplaceFile(path, bytes);
      } catch (const IoError&) {
      }
    }
  }
  FolderRollback(const FolderRollback&) = delete;
  FolderRollback& operator=(const FolderRollback&) = delete;
  void Dismiss() { m_dismissed = true; }

 private:
  std::string m_folder;
  std::map<std::string, std::string> m_files;
  bool m_dismissed = false;
};

void CopyLines(InputFile& from, AtomicFile& to) {
  std::string line;
  while (from.ReadLine(line)) to.WriteLine(line);
}

}  // namespace

bool ValidArchiveName(std::string_view name) {
  if (name.empty() || name.size() > kArchiveNameLimit) return false;
  std::size_t pointPosition = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c <= 32 || kForbiddenCharacters.find(static_cast<char>(c)) != std::string_view::npos) return false;
    if (c != '.') continue;
    // One full stop, not first, with at most three characters after it.
    if (pointPosition != std::string_view::npos || i == 0 || name.size() - 1 - i > kExtensionLimit) return false;
    pointPosition = i;
  }
  return !IsDeviceName(name.substr(0, pointPosition));
}

std::string ArchivePath(const std::string& baseFolder, std::string_view name) {
  std::string relative(kArchiveFolder);
  relative += '/';
  relative += name;
  return ResolvePath(baseFolder, relative);
}

void SavePages(const std::string& archivePath, const std::string& baseFolder,
               const std::vector<PageItem>& items, PageSelection selection) {
  AtomicFile archive(archivePath);
  for (const PageItem& item : items) {
    if (selection == PageSelection::CheckedOnly && !item.checked) continue;
    // A filler's path is the folder itself, which is no file.
    const std::string pagePath = JoinPath(baseFolder, item.text);
    if (item.text.empty() || !FileExists(pagePath)) continue;
    InputFile page(pagePath);
    CopyLines(page, archive);
    page.Close();
  }
  archive.Commit();
}

void RestoreText(const std::string& archivePath, const std::string& textPath) {
  InputFile archive(archivePath);
  AtomicFile text(textPath);
  CopyLines(archive, text);
  archive.Close();
  text.Commit();
}

ArchiveLoad LoadArchive(const std::string& baseFolder, const std::string& archivePath,
                        const ArchiveLoadSteps& steps) {
  if (!FileExists(archivePath)) return ArchiveLoad::NoSuchArchive;
  FolderRollback rollback(baseFolder);
  steps.rejoinReports();
  const std::string textPath = OwnFilePath(baseFolder, FileNames::kDayText);
  RestoreText(archivePath, textPath);
  if (FileExists(textPath)) {
    steps.splitReports();
    steps.buildPageList();
  }
  rollback.Dismiss();
  return ArchiveLoad::Loaded;
}
