#include "base/working_folders.h"

#include <cstdlib>

#include "base/built_in_resources.h"
#include "base/file_layer.h"
#include "base/text.h"

WorkingFolders SettleFolders(const char* userProfile, const char* home) {
  // An empty USERPROFILE counts as unset.
  const char* profile = userProfile != nullptr && *userProfile != '\0' ? userProfile : home;
  WorkingFolders folders;
  folders.homeFolder = CutText(profile != nullptr ? profile : "", kFolderTextLimit);
  if (folders.homeFolder.empty() || folders.homeFolder.back() != kPathSeparator) folders.homeFolder += kPathSeparator;
  folders.baseFolder = CutText(JoinPath(folders.homeFolder, "RavelstowData/Vantrose/"), kFolderTextLimit);
  return folders;
}

WorkingFolders FoldersFromEnvironment() { return SettleFolders(std::getenv("USERPROFILE"), std::getenv("HOME")); }

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
