// The one place through which the program touches the file system: opening,
// reading, writing, renaming, deleting, testing and listing files. It turns
// system errors into the texts the user sees (one exception type), replaces
// files atomically, finds delivered files without regard to letter case, and
// lets tests make its k-th operation fail. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A failure the user sees; what() is the exact text for the error box.
class IoError : public std::runtime_error {
 public:
  IoError(const std::string& text, int systemErrorNumber)
      : std::runtime_error(text), m_systemErrorNumber(systemErrorNumber) {}
  // The system's error number behind the failure; 0 when there is none
  // (a short read, a missing resource).
  int SystemErrorNumber() const { return m_systemErrorNumber; }

 private:
  int m_systemErrorNumber;
};

// Error texts of the failures that have no system error number.
inline constexpr std::string_view kReadBeyondEndText = "Read beyond end of file";

// The user's text for a system error number (errno values):
// "File not found", "Invalid filename" (the file's folder is missing),
// "Too many open files", "File access denied", "Disk full", else "I/O error N".
std::string IoErrorText(int systemErrorNumber, bool folderMissing = false);

// A failure's text naming the file it happened on, so the user knows which file to
// look at: `text`, ": " and the full path ("File access denied: /home/.../Vantrose.TXT").
std::string IoErrorTextFor(std::string_view text, const std::string& path);

// Throws the IoError for `systemErrorNumber` met while working on `path`, its text
// naming the path (the path also decides between "File not found" and "Invalid filename").
[[noreturn]] void ThrowIoError(int systemErrorNumber, const std::string& path);

// Throws "Read beyond end of file" naming `path`.
[[noreturn]] void ThrowReadBeyondEnd(const std::string& path);

// The error of a file stream that cannot be created: "Cannot create file "PATH". REASON",
// REASON being the system's text for `systemErrorNumber`.
IoError CannotCreateError(const std::string& path, int systemErrorNumber);

#ifdef _WIN32
// The errno value of a Win32 error code, for the user's texts.
int ErrnoOfWin32Error(unsigned long win32Error);
// A path of the file layer (UTF-8) as the wide text the Win32 calls take.
std::wstring WidePath(const std::string& path);
#endif

// Makes the file layer's operations fail on purpose, for tests. Operations are
// counted from 1 after Arm(); the k-th one fails as if the system had returned
// `systemErrorNumber`. Only one failure is injected per Arm().
namespace FaultInjection {
void Arm(long failingOperation, int systemErrorNumber);
// Makes every operation on `path` (exactly as given) fail with `systemErrorNumber` until
// Disarm(), as for a file the user may not read; counted operations go on as armed.
void FailPath(const std::string& path, int systemErrorNumber);
// Ends both kinds of failure.
void Disarm();
// Operations counted since the last Arm() or Disarm().
long OperationCount();
}  // namespace FaultInjection

// Path helpers. Paths are native ("/" on Linux); folder texts end with the separator.
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// `relative` may use either "/" or "\\" between its parts; the result uses the native separator.
std::string JoinPath(const std::string& folder, std::string_view relative);

// The folder part of `path`, up to and including its last separator ("" when none).
std::string FolderPart(const std::string& path);

// Finds `relative` below `folder` without regard to letter case, part by part: an exact
// match wins, otherwise the first entry (in name order) whose name equals ignoring ASCII case.
// Parts that match nothing keep the spelling given, so the result is where a new file of
// that name would go. Never throws for a missing part.
std::string ResolvePath(const std::string& folder, std::string_view relative);

// The path of a file the program itself writes: its folders found as ResolvePath finds
// them, its own name kept exactly as given, so the program's files have one spelling.
std::string OwnFilePath(const std::string& folder, std::string_view relative);

// True when the system takes `path` as a whole and each of its parts: on Linux at
// most PATH_MAX - 1 bytes and NAME_MAX bytes a part, on Windows at most 32 766 UTF-16
// units (the longest path the system's wide functions take) and 255 a part.
bool PathFitsSystem(std::string_view path);

// True when `path` names an existing regular file (a folder is not a file).
bool FileExists(const std::string& path);
// True when `path` names an existing folder.
bool FolderExists(const std::string& path);
// Size in bytes of an existing file.
std::uint64_t FileSize(const std::string& path);
// Deletes a file; throws when it cannot be deleted, also when it is missing.
void DeleteFile(const std::string& path);
// Deletes a file when it exists.
void DeleteIfExists(const std::string& path);
// Renames `from` to `to`, replacing `to` (a link at `to` itself, not what it points to).
void RenameFile(const std::string& from, const std::string& to);
// Creates the folder `path` inside an existing folder; does nothing when a folder of that
// name exists. Throws IoError when it cannot be made, also when a file has the name.
void CreateFolder(const std::string& path);
// Names of the entries of a folder (files and folders, not "." and ".."), sorted.
std::vector<std::string> ListFolder(const std::string& folder);
// Marks a file executable for everybody who may read it (no effect on Windows).
void MakeExecutable(const std::string& path);

// A file opened for reading, closed by its destructor.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  const std::string& Path() const { return m_path; }

  // Reads up to `size` bytes; returns how many were read (0 at the end).
  std::size_t Read(void* buffer, std::size_t size);
  // Reads exactly `size` bytes or throws "Read beyond end of file".
  void ReadExact(void* buffer, std::size_t size);

  // Reads the next text line into `line` without its line end. A line ends at CR LF,
  // LF or CR; the text ends at the end of the file or at a byte 26. Returns false
  // when no line is left.
  bool ReadLine(std::string& line);

  // Reads the whole rest of the file.
  std::string ReadAll();

  void Close();

 private:
  bool FillBuffer();

  std::string m_path;
  std::FILE* m_file = nullptr;
  std::unique_ptr<char[]> m_stdioBuffer;
  std::vector<char> m_buffer;
  std::size_t m_bufferPos = 0;
  std::size_t m_bufferEnd = 0;
  bool m_textEnded = false;
};

// How a failure to create a file is reported: with the ordinary texts, or as a file
// stream does, "Cannot create file "PATH". REASON".
enum class CreateFailure { IoText, StreamText };

// What creating a file does when a symbolic link stands at its path.
enum class AtLink {
  ReplaceLink,  // the program's own files: the link goes and a new file takes its place
  FollowLink,   // a file the user named for a command's output: written where the link points
};

// A file created (or emptied) for writing. Write() and Close() throw on failure;
// the destructor closes without throwing. Failures name the path (for the temporary
// file of an AtomicFile, the file it will replace).
// The program's own files are never written through anything but a plain file of
// their own: a symbolic link or a second hard link at the path is removed (never what
// it points to) and a new file made; a folder, a pipe or a device there is refused
// ("File access denied"), and so is a read-only file, also where the system would let
// this process write it.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path, AtLink atLink = AtLink::ReplaceLink);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& Path() const { return m_path; }
  void Write(const void* data, std::size_t size);
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  // Writes `line` followed by CR LF.
  void WriteLine(std::string_view line);
  void Close();

 private:
  friend class AtomicFile;
  enum class Making { OwnFile, NamedFile, TemporaryFile };
  // A TemporaryFile is new (anything left at its path goes first) and takes the
  // permissions of `reportedPath`, the file it will replace, when that is a file.
  OutputFile(Making making, const std::string& path, CreateFailure failure, const std::string& reportedPath);

  std::string m_path;
  std::string m_reportedPath;
  std::FILE* m_file = nullptr;
  std::unique_ptr<char[]> m_stdioBuffer;
};

// Replaces a file as a whole: writes go to a new temporary file beside the target,
// and Commit() renames it over the target, which keeps its permissions. A link at
// the target is replaced itself. A folder or a read-only file at the target is
// refused before anything is written ("File access denied"). Without Commit() (a
// failure, an exception) the temporary file is removed and the target stays as it was.
class AtomicFile {
 public:
  explicit AtomicFile(const std::string& targetPath, CreateFailure failure = CreateFailure::IoText);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const void* data, std::size_t size) { m_output.Write(data, size); }
  void Write(std::string_view text) { m_output.Write(text); }
  void WriteLine(std::string_view line) { m_output.WriteLine(line); }
  // Closes the temporary file and renames it over the target.
  void Commit();

  // The name of the temporary file used for `targetPath`.
  static std::string TemporaryPathFor(const std::string& targetPath);

 private:
  std::string m_targetPath;
  OutputFile m_output;
  bool m_committed = false;
};

// Reads a whole file.
std::string ReadFile(const std::string& path);
// Reads the text lines of a file as InputFile::ReadLine finds them, the first
// `maxLines` at most, and closes it.
std::vector<std::string> ReadLines(const std::string& path, std::size_t maxLines = SIZE_MAX);
// Replaces a file atomically with `content`.
void ReplaceFile(const std::string& path, std::string_view content, CreateFailure failure = CreateFailure::IoText);
