#include "browser/archive.h"

#include <map>
#include <set>
#include <utility>

#include "base/file_layer.h"
#include "base/scope_guard.h"
#include "base/text.h"
#include "base/working_folders.h"

namespace {

constexpr std::size_t kArchiveNameLimit = 12;
constexpr std::size_t kExtensionLimit = 3;
constexpr std::string_view kForbiddenCharacters = "\"*+,/:;<=>?\\|";

// What an archive load changes in the working folder, kept so that a failed load can
// put it back: the bytes of the day's text, the schedule and the current reports' page
// and twin files, and the names of the folder's entries, so that the files the load
// adds can be removed again. No other file is read or held: an unrelated file, however
// large or unreadable, neither fails a load nor fills the memory.
class LoadSnapshot {
 public:
  LoadSnapshot(std::string folder, const ReportTable& currentReports) : m_folder(std::move(folder)) {
    for (const std::string& name : ListFolder(m_folder)) m_names.insert(name);
    Hold(OwnFilePath(m_folder, FileNames::kDayText));
    Hold(OwnFilePath(m_folder, FileNames::kSchedule));
    for (const ReportFile& file : currentReports.files) {
      Hold(JoinPath(m_folder, file.name));
      Hold(JoinPath(m_folder, file.twin));
    }
  }

  // Best effort, file by file: one file that cannot be put back must not keep the
  // others from being put back. The failure of the load is reported. Never throws.
  void PutBack() const {
    std::vector<std::string> names;
    try {
      names = ListFolder(m_folder);
    } catch (const IoError&) {
    }
    for (const std::string& name : names) {
      if (m_names.count(name) != 0) continue;
      try {
        const std::string path = JoinPath(m_folder, name);
        if (FileExists(path)) DeleteFile(path);
      } catch (const IoError&) {
      }
    }
    for (const auto& [path, bytes] : m_files) {
      try {
        if (!FileExists(path) || ReadFile(path) != bytes) ReplaceFile(path, bytes);
      } catch (const IoError&) {
      }
    }
  }

 private:
  void Hold(const std::string& path) {
    if (m_files.count(path) == 0 && FileExists(path)) m_files.emplace(path, ReadFile(path));
  }

  std::string m_folder;
  std::set<std::string> m_names;               // every entry before the load
  std::map<std::string, std::string> m_files;  // path, bytes before the load
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
  return !IsReservedDeviceName(name);
}

std::string ArchivePath(const std::string& baseFolder, std::string_view name) {
  std::string relative(kArchiveFolder);
  relative += '/';
  relative += name;
  return ResolvePath(baseFolder, relative);
}

void SavePages(const std::string& archivePath, const std::string& baseFolder, const std::vector<PageItem>& items,
               PageSelection selection) {
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
                        const ReportTable& currentReports, const ArchiveLoadSteps& steps) {
  if (!FileExists(archivePath)) return ArchiveLoad::NoSuchArchive;
  const LoadSnapshot before(baseFolder, currentReports);
  ScopeGuard rollback([&before] { before.PutBack(); });
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
