// A scratch folder for tests: created empty under the system's temporary folder,
// removed with everything in it when the object goes away.
#pragma once

#include <set>
#include <string>
#include <string_view>

// Why a test that needs names differing only in letter case skips on Windows.
inline constexpr char kOneFileForEveryCase[] = "names that differ only in letter case are one file on this file system";

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's full path, ending with the native separator.
  const std::string& Path() const { return m_path; }

  // Writes `bytes` to the file `relative` ("/" between its parts, creating its folders);
  // returns the full path with native separators.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  // The bytes of the file `relative`; throws std::runtime_error when it cannot be read.
  std::string Read(std::string_view relative) const;
  // True when a file or folder `relative` exists.
  bool Exists(std::string_view relative) const;
  // Every folder and file below the folder, "/" between parts, folders ending with "/".
  std::set<std::string> Entries() const;
  // True when the folder's file system keeps names apart that differ only in letter
  // case (Linux does; Windows finds "a.txt" under "A.TXT").
  bool KeepsLetterCaseApart() const;
  // Creates the folder `relative` (and its parents); returns its full path ending with the
  // native separator.
  std::string MakeFolder(std::string_view relative) const;

 private:
  std::string m_path;
};
