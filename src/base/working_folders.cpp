#include "base/working_folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#ifdef _WIN32
#include <filesystem>
#include <optional>
#endif

#include "base/built_in_resources.h"
#include "base/file_layer.h"
#include "base/text.h"

WorkingFolders SettleFolders(const char* userProfile, const char* home) {
  // An empty USERPROFILE counts as unset.
  const char* profile = userProfile != nullptr && *userProfile != '\0' ? userProfile : home;
  WorkingFolders folders;
  folders.homeFolder = profile != nullptr ? profile : "";
  if (folders.homeFolder.empty() || folders.homeFolder.back() != kPathSeparator) folders.homeFolder += kPathSeparator;
  folders.baseFolder = JoinPath(folders.homeFolder, "RavelstowData/Vantrose/");
  return folders;
}

void CheckFolderPath(const std::string& baseFolder) {
  // The longest path below the folder: the temporary file of an archive of twelve characters.
  if (!PathFitsSystem(AtomicFile::TemporaryPathFor(JoinPath(baseFolder, "Archive/ABCDEFGHIJKL"))))
    throw IoError("The working folder's path is too long for this system: " + baseFolder, ENAMETOOLONG);
}

#ifdef _WIN32
namespace {
// An environment value as UTF-8, the file layer's spelling of paths: Windows hands narrow
// values over in the ANSI code page, which cannot carry every letter of a profile name.
std::optional<std::string> Utf8Environment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (value == nullptr) return std::nullopt;
  const std::u8string text = std::filesystem::path(value).u8string();
  return std::string(text.begin(), text.end());
}
}  // namespace

WorkingFolders FoldersFromEnvironment() {
  const auto profile = Utf8Environment(L"USERPROFILE");
  const auto home = Utf8Environment(L"HOME");
  return SettleFolders(profile ? profile->c_str() : nullptr, home ? home->c_str() : nullptr);
}
#else
WorkingFolders FoldersFromEnvironment() { return SettleFolders(std::getenv("USERPROFILE"), std::getenv("HOME")); }
#endif

namespace {

std::string WithSeparator(const std::string& folder) { return JoinPath(folder, ""); }

bool MissesTheWorkingFolder(const WorkingFolders& folders, const std::vector<std::string>& missing) {
  return std::find(missing.begin(), missing.end(), WithSeparator(folders.baseFolder)) != missing.end();
}

// The last part of a folder path ending with the separator.
std::string FolderName(const std::string& folder) {
  const std::string withoutSeparator = folder.substr(0, folder.size() - 1);
  return withoutSeparator.substr(FolderPart(withoutSeparator).size());
}

// "Help", "Help and Archive", "Data, Exec, Help and Archive".
std::string NameList(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
    list += names[i];
  }
  return list;
}

}  // namespace

std::vector<std::string> MissingFolders(const WorkingFolders& folders) {
  std::vector<std::string> missing;
  const std::string base = WithSeparator(folders.baseFolder);
  for (std::string folder = base; folder.size() > folders.homeFolder.size() && !FolderExists(folder);
       folder = FolderPart(folder.substr(0, folder.size() - 1)))
    missing.insert(missing.begin(), folder);
  if (!missing.empty()) {
    for (std::string_view sub : kWorkingSubFolders) missing.push_back(WithSeparator(JoinPath(base, sub)));
    return missing;
  }
  for (std::string_view sub : kWorkingSubFolders) {
    const std::string folder = WithSeparator(ResolvePath(base, sub));
    if (!FolderExists(folder)) missing.push_back(folder);
  }
  return missing;
}

void MakeFolders(const std::vector<std::string>& missing) {
  for (const std::string& folder : missing) CreateFolder(folder);
}

std::string MissingFoldersText(const WorkingFolders& folders, const std::vector<std::string>& missing) {
  std::string text = "the working folder \"" + folders.baseFolder + "\"";
  if (MissesTheWorkingFolder(folders, missing)) return text + " does not exist";
  std::vector<std::string> names;
  for (const std::string& folder : missing) names.push_back(FolderName(folder));
  return text + (names.size() == 1 ? " lacks its folder " : " lacks its folders ") + NameList(names);
}

std::string MakeFoldersQuestion(const WorkingFolders& folders, const std::vector<std::string>& missing) {
  std::string text = MissingFoldersText(folders, missing);
  text[0] = 'T';
  if (MissesTheWorkingFolder(folders, missing))
    return text + ".\n\nCreate it, with its folders " +
           NameList(std::vector<std::string>(std::begin(kWorkingSubFolders), std::end(kWorkingSubFolders))) + "?";
  return text + (missing.size() == 1 ? ".\n\nCreate it?" : ".\n\nCreate them?");
}

std::string_view FindResource(std::string_view name) {
  for (const BuiltInResource& resource : kBuiltInResources)
    if (resource.name == name) return resource.bytes;
  throw IoError("Resource " + std::string(name) + " not found", 0);
}

void ExtractResource(std::string_view name, const std::string& path) {
  ReplaceFile(path, FindResource(name), CreateFailure::StreamText);
}

void InstallFiles(const std::string& baseFolder) {
  for (const InstalledFile& file : kInstalledFiles) ExtractResource(file.resource, OwnFilePath(baseFolder, file.file));
}

std::vector<std::string_view> ObsoleteFiles() {
#ifdef _WIN32
  return {"Vantrose32.EXE", "RavelstowStub.EXE", "SEE32.DLL", "RavelstowUtil.DLL"};
#else
  return {};
#endif
}

void RemoveObsoleteFiles(const std::string& homeFolder, const std::vector<std::string_view>& names) {
  for (std::string_view name : names) DeleteIfExists(JoinPath(homeFolder, name));
}

std::string ReadUserIdText(const std::string& baseFolder) {
  const std::string path = ResolvePath(baseFolder, FileNames::kUserId);
  if (!FileExists(path)) return "0000";
  const std::vector<std::string> lines = ReadLines(path, 1);
  return lines.empty() ? std::string() : CutText(lines.front(), 15);
}
