// A scratch folder for tests: created empty under the system's temporary folder,
// removed with everything in it when the object goes away.
#pragma once

#include <string>
#include <string_view>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's full path, ending with "/".
  const std::string& Path() const { return m_path; }

  // Writes `bytes` to the file `relative` (creating its folders); returns the full path.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  // The bytes of the file `relative`; throws std::runtime_error when it cannot be read.
  std::string Read(std::string_view relative) const;
  // True when a file or folder `relative` exists.
  bool Exists(std::string_view relative) const;
  // Creates the folder `relative` (and its parents); returns its full path ending with "/".
  std::string MakeFolder(std::string_view relative) const;

 private:
  std::string m_path;
};
