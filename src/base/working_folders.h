// The working folder and its fixed layout, the files written from built-in data
// at every start, and the obsolete files of earlier installations. No Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct WorkingFolders {
  std::string homeFolder;  // the user's profile folder, ending with the separator
  std::string baseFolder;  // homeFolder + "RavelstowData/Vantrose/"
};

// The folders for a profile folder: USERPROFILE when set and not empty, else HOME
// (pass nullptr for an unset variable). With neither set the working folder is at the root.
// Paths are kept whole, however long: a cut path would name another folder.
WorkingFolders SettleFolders(const char* userProfile, const char* home);

// Throws IoError "The working folder's path is too long for this system: PATH" when
// the system would refuse the longest path the program makes below `baseFolder`.
void CheckFolderPath(const std::string& baseFolder);

// The folders of this process's environment.
WorkingFolders FoldersFromEnvironment();

// The working folder's sub-folders. The installation provides them; on a system without
// an installer the program's first start offers to make them.
inline constexpr std::string_view kWorkingSubFolders[] = {"Data", "Exec", "Help", "Archive"};

// The folders the working folder lacks, in the order they are to be made, each ending with
// the separator: when the working folder is missing, the folders from the profile folder
// down to it and then all its sub-folders; otherwise the sub-folders found in no letter
// case. The profile folder itself is never listed. Empty when nothing is missing.
std::vector<std::string> MissingFolders(const WorkingFolders& folders);

// Makes the folders of `missing` (as MissingFolders lists them) in order, and nothing else.
// Throws IoError at the first that cannot be made; those made before it stay.
void MakeFolders(const std::vector<std::string>& missing);

// What `missing` (not empty) means, for a message: the working folder "BASE" does not
// exist, or lacks its folders Help and Archive.
std::string MissingFoldersText(const WorkingFolders& folders, const std::vector<std::string>& missing);

// The first start's question before it makes `missing` (not empty), naming the working folder.
std::string MakeFoldersQuestion(const WorkingFolders& folders, const std::vector<std::string>& missing);

// Names, relative to the working folder, of the files the program uses.
namespace FileNames {
inline constexpr std::string_view kDataFile = "Data/Vantrose.DAT";
inline constexpr std::string_view kDayText = "Vantrose.TXT";
inline constexpr std::string_view kSettings = "Exec/Vantrose.OPT";
inline constexpr std::string_view kUserId = "Exec/Vantrose.UID";
inline constexpr std::string_view kSchedule = "SimoDump.LST";
inline constexpr std::string_view kProgramFile =
#ifdef _WIN32
    "Exec/Vantrose.EXE";
#else
    "Exec/vantrose";
#endif
}  // namespace FileNames

// A built-in data resource and the file it is written to at every start.
struct InstalledFile {
  std::string_view resource;
  std::string_view file;  // relative to the working folder
};
inline constexpr InstalledFile kInstalledFiles[] = {
    {"A", "Help/A-Report.HLP"}, {"X", "Help/X-Report.HLP"}, {"E", "Help/E-Report.HLP"},
    {"B", "Help/B-Report.HLP"}, {"Z", "SimoDump.LST"},
};

// The bytes of a built-in resource; throws IoError "Resource NAME not found".
std::string_view FindResource(std::string_view name);

// Creates (or empties) `path` and writes the whole resource into it, replacing the
// file atomically. Throws "Cannot create file ..." when the file cannot be created.
void ExtractResource(std::string_view name, const std::string& path);

// Writes every installed file below `baseFolder`, in table order.
void InstallFiles(const std::string& baseFolder);

// Obsolete files of earlier installations, removed from the profile folder at every
// start. Only the Windows installations left such files; on other systems the list is empty.
std::vector<std::string_view> ObsoleteFiles();

// Deletes each of `names` from `homeFolder` when present, in order. Throws IoError
// when one exists but cannot be deleted.
void RemoveObsoleteFiles(const std::string& homeFolder, const std::vector<std::string_view>& names);

// The user identification written into the day's text: the first line of
// "Exec/Vantrose.UID" (cut to 15 characters) when the installation supplies that
// file, otherwise "0000".
std::string ReadUserIdText(const std::string& baseFolder);
