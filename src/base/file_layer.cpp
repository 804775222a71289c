#include "base/file_layer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// <windows.h> names DeleteFileW and ReplaceFileW so; the file layer's own keep their names.
#undef DeleteFile
#undef ReplaceFile
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/text.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kReadBufferSize = 64 * 1024;
// Allocated uninitialised for every file opened: stdio writes into it before it reads
// from it, and zero-filling it cost start-up (some 3000 small page files) most of its time.
constexpr std::size_t kStdioBufferSize = 128 * 1024;

long g_failingOperation = 0;
int g_injectedError = 0;
long g_operationCount = 0;
std::string g_failingPath;
int g_pathError = 0;

// Counts one file operation and fails it when a test asked for that.
void CountOperation(const std::string& path) {
  ++g_operationCount;
  if (g_failingOperation != 0 && g_operationCount == g_failingOperation) {
    g_failingOperation = 0;
    ThrowIoError(g_injectedError, path);
  }
  if (!g_failingPath.empty() && path == g_failingPath) ThrowIoError(g_pathError, path);
}

// The errno value behind a std::error_code of either category.
int ErrnoOf(const std::error_code& code) {
  const std::error_condition condition = code.default_error_condition();
  return condition.category() == std::generic_category() ? condition.value() : code.value();
}

// Paths are byte strings: the system's own on POSIX, UTF-8 on Windows.
fs::path NativePath(const std::string& text) {
#ifdef _WIN32
  return fs::path(std::u8string(text.begin(), text.end()));
#else
  return fs::path(text);
#endif
}

std::string PathText(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The names of the entries of `folder` (not "." and ".."), unsorted. `error` is set
// when the folder cannot be listed.
std::vector<std::string> FolderNames(const std::string& folder, std::error_code& error) {
  std::vector<std::string> names;
#ifdef _WIN32
  // Asked of the system itself: the runtime's directory iterator lists the current
  // folder instead of one whose path passes 260 characters.
  WIN32_FIND_DATAW entry;
  const HANDLE search =
      FindFirstFileExW((NativePath(folder) / L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD failure = GetLastError();
    std::error_code ignored;
    const fs::file_status status = fs::status(NativePath(folder), ignored);
    if (fs::is_directory(status) && failure == ERROR_FILE_NOT_FOUND) return names;  // a drive's empty root
    if (fs::exists(status) && !fs::is_directory(status))
      error = std::make_error_code(std::errc::not_a_directory);  // as POSIX says of a file
    else
      error.assign(static_cast<int>(failure), std::system_category());
    return names;
  }
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(PathText(fs::path(name)));
  } while (FindNextFileW(search, &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) error.assign(static_cast<int>(GetLastError()), std::system_category());
  FindClose(search);
#else
  for (fs::directory_iterator it(NativePath(folder), error), end; !error && it != end; it.increment(error))
    names.push_back(PathText(it->path().filename()));
#endif
  return names;
}

// Gives `file` `buffer` (kStdioBufferSize bytes, living until the file is closed) as
// its stdio buffer, larger than the default, so that record-sized reads and writes do
// not each cost a system call.
std::FILE* Buffered(std::FILE* file, char* buffer) {
  if (file != nullptr) std::setvbuf(file, buffer, _IOFBF, kStdioBufferSize);
  return file;
}

// Opens an existing file for reading. A symbolic link is followed: a day's text, a
// schedule or settings the user linked into the folder are read where they are.
std::FILE* OpenForReading(const std::string& path, char* buffer) {
#ifdef _WIN32
  return Buffered(_wfopen(NativePath(path).c_str(), L"rb"), buffer);
#else
  return Buffered(std::fopen(path.c_str(), "rb"), buffer);
#endif
}

// Writing never goes through a symbolic link, a second hard link or anything but a
// plain file that stands where the program's own file goes: a link is removed (the
// link, never what it points to) and the file made anew; a folder or a device there
// is refused; a read-only file is refused with "File access denied" also where the
// system would let this process write it. The opened or created file is empty.
// Each function returns nullptr with errno set on failure.
#ifdef _WIN32

// Sets errno from the last Win32 error, closes `handle` when given, returns nullptr.
std::FILE* FailWin32(HANDLE handle = INVALID_HANDLE_VALUE) {
  errno = ErrnoOfWin32Error(GetLastError());
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  return nullptr;
}

// A stdio stream over a handle opened for writing; the stream owns the handle.
std::FILE* StreamOfHandle(HANDLE handle, char* buffer) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    errno = EMFILE;
    return nullptr;
  }
  std::FILE* file = _fdopen(descriptor, "wb");
  if (file == nullptr) _close(descriptor);
  return Buffered(file, buffer);
}

HANDLE CreateNewFile(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Removes a link (to a file or a folder, never what it points to) or a file at
// `path`; a folder there is refused. False with errno set on failure.
bool RemoveLinkOrFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (folder && !link) {
    errno = EISDIR;
    return false;
  }
  if (folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) return true;
  FailWin32();
  return false;
}

std::FILE* OpenOwnFileForWriting(const std::string& path, char* buffer) {
  const std::wstring native = NativePath(path).wstring();
  // A link there goes first; then what is opened is a file of its own.
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      !RemoveLinkOrFile(native))
    return nullptr;
  HANDLE handle = CreateFileW(native.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FailWin32();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) return FailWin32(handle);
  const bool link = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (!link && (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    // An administrator may open it all the same; the program still leaves it alone.
    CloseHandle(handle);
    errno = EACCES;
    return nullptr;
  }
  if (link || information.nNumberOfLinks > 1) {
    // A link made meanwhile, or a second name of a file elsewhere: emptying it would
    // empty that file too.
    CloseHandle(handle);
    if (!RemoveLinkOrFile(native)) return nullptr;
    handle = CreateNewFile(native);
    if (handle == INVALID_HANDLE_VALUE) return FailWin32();
  } else if (!SetEndOfFile(handle)) {
    return FailWin32(handle);
  }
  return StreamOfHandle(handle, buffer);
}

std::FILE* CreateTemporaryFile(const std::string& path, const std::string& /*targetPath*/, char* buffer) {
  const std::wstring native = NativePath(path).wstring();
  HANDLE handle = CreateNewFile(native);
  if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
    // Left by a run that ended before it could remove it, or put there: it goes (a
    // link itself, never what it points to), unless it is a folder.
    if (!RemoveLinkOrFile(native)) return nullptr;
    handle = CreateNewFile(native);
  }
  if (handle == INVALID_HANDLE_VALUE) return FailWin32();
  return StreamOfHandle(handle, buffer);
}

// 0 when `targetPath` may be replaced, else the errno value that refuses it.
int ReplaceRefusal(const std::string& targetPath) {
  const DWORD attributes = GetFileAttributesW(NativePath(targetPath).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return 0;  // the link is replaced
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
  return 0;
}

#else

constexpr int kNoFollow = O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

std::FILE* StreamOfDescriptor(int descriptor, char* buffer) {
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    const int error = errno;
    close(descriptor);
    errno = error;
  }
  return Buffered(file, buffer);
}

std::FILE* Fail(int descriptor, int error) {
  if (descriptor >= 0) close(descriptor);
  errno = error;
  return nullptr;
}

std::FILE* OpenOwnFileForWriting(const std::string& path, char* buffer) {
  // Non-blocking, so that a pipe planted under the name cannot make the open wait.
  int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | kNoFollow, 0666);
  mode_t newMode = 0666;
  bool replace = false;
  if (descriptor < 0) {
    // ELOOP: a symbolic link stands there (EMLINK on some BSDs). ENXIO: a pipe nobody reads.
    if (errno == ENXIO) return Fail(-1, EACCES);
    if (errno != ELOOP && errno != EMLINK) return nullptr;
    replace = true;
  } else {
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return Fail(descriptor, errno);
    if (!S_ISREG(status.st_mode)) return Fail(descriptor, S_ISDIR(status.st_mode) ? EISDIR : EACCES);
    if ((status.st_mode & kAnyWrite) == 0) return Fail(descriptor, EACCES);
    if (status.st_nlink > 1) {
      // Emptying it would empty the other names too, wherever they are.
      close(descriptor);
      newMode = status.st_mode & 07777;
      replace = true;
    } else if (ftruncate(descriptor, 0) != 0 || fcntl(descriptor, F_SETFL, 0) != 0) {
      return Fail(descriptor, errno);
    }
  }
  if (replace) {
    if (unlink(path.c_str()) != 0) return nullptr;
    descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollow, newMode);
    if (descriptor < 0) return nullptr;
  }
  return StreamOfDescriptor(descriptor, buffer);
}

// 0 when `targetPath` may be replaced, else the errno value that refuses it.
int ReplaceRefusal(const std::string& targetPath) {
  struct stat status {};
  if (lstat(targetPath.c_str(), &status) != 0 || S_ISLNK(status.st_mode)) return 0;  // a link is replaced itself
  if (S_ISDIR(status.st_mode)) return EISDIR;
  if (!S_ISREG(status.st_mode) || (status.st_mode & kAnyWrite) == 0) return EACCES;  // a pipe, a device, read-only
  return 0;
}

std::FILE* CreateTemporaryFile(const std::string& path, const std::string& targetPath, char* buffer) {
  int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollow, 0666);
  if (descriptor < 0 && errno == EEXIST) {
    // Left by a run that ended before it could remove it, or put there: it goes
    // (a link itself, never what it points to), unless it is a folder.
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return Fail(-1, EISDIR);
    if (unlink(path.c_str()) != 0) return nullptr;
    descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollow, 0666);
  }
  if (descriptor < 0) return nullptr;
  // The replacement keeps the permissions of the file it replaces.
  struct stat target {};
  if (lstat(targetPath.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
      fchmod(descriptor, target.st_mode & 07777) != 0) {
    const int error = errno;
    close(descriptor);
    unlink(path.c_str());
    return Fail(-1, error);
  }
  return StreamOfDescriptor(descriptor, buffer);
}

#endif

// Opens a file the user named (a command's output file) for writing as the system
// does, following a link to where it points, and empties it.
std::FILE* OpenNamedFileForWriting(const std::string& path, char* buffer) {
#ifdef _WIN32
  return Buffered(_wfopen(NativePath(path).c_str(), L"wb"), buffer);
#else
  return Buffered(std::fopen(path.c_str(), "wb"), buffer);
#endif
}

}  // namespace

std::string IoErrorText(int systemErrorNumber, bool folderMissing) {
  switch (systemErrorNumber) {
    case ENOENT:
      return folderMissing ? "Invalid filename" : "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "Disk full";
    default:
      return "I/O error " + std::to_string(systemErrorNumber);
  }
}

std::string IoErrorTextFor(std::string_view text, const std::string& path) {
  std::string named(text);
  named += ": ";
  named += path;
  return named;
}

void ThrowIoError(int systemErrorNumber, const std::string& path) {
  bool folderMissing = false;
  if (systemErrorNumber == ENOENT) {
    const std::string folder = FolderPart(path);
    std::error_code ignored;
    folderMissing = !folder.empty() && !fs::is_directory(NativePath(folder), ignored);
  }
  throw IoError(IoErrorTextFor(IoErrorText(systemErrorNumber, folderMissing), path), systemErrorNumber);
}

void ThrowReadBeyondEnd(const std::string& path) { throw IoError(IoErrorTextFor(kReadBeyondEndText, path), 0); }

IoError CannotCreateError(const std::string& path, int systemErrorNumber) {
  return IoError("Cannot create file \"" + path + "\". " + std::generic_category().message(systemErrorNumber),
                 systemErrorNumber);
}

#ifdef _WIN32
int ErrnoOfWin32Error(unsigned long win32Error) {
  switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return EINVAL;
    default:
      return EIO;
  }
}

std::wstring WidePath(const std::string& path) { return NativePath(path).wstring(); }
#endif

namespace FaultInjection {
void Arm(long failingOperation, int systemErrorNumber) {
  g_failingOperation = failingOperation;
  g_injectedError = systemErrorNumber;
  g_operationCount = 0;
}
void FailPath(const std::string& path, int systemErrorNumber) {
  g_failingPath = path;
  g_pathError = systemErrorNumber;
}
void Disarm() {
  g_failingOperation = 0;
  g_operationCount = 0;
  g_failingPath.clear();
}
long OperationCount() { return g_operationCount; }
}  // namespace FaultInjection

std::string JoinPath(const std::string& folder, std::string_view relative) {
  std::string result = folder;
  if (!result.empty() && !IsSeparator(result.back())) result += kPathSeparator;
  for (char c : relative) result += IsSeparator(c) ? kPathSeparator : c;
  return result;
}

std::string FolderPart(const std::string& path) {
  const auto last = path.find_last_of("/\\");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

namespace {

// The entry of `folder` that `part` names: an entry of exactly that name, else the first
// (in name order) whose name equals `part` ignoring ASCII case; empty when none does.
std::string FindEntry(const std::string& folder, const std::string& part) {
  std::error_code error;
#ifndef _WIN32
  // A name that exists as given is its own entry; only a miss needs the listing.
  if (fs::exists(NativePath(JoinPath(folder, part)), error)) return part;
#endif
  // On Windows every spelling of a name exists, so the listing tells the stored one.
  std::vector<std::string> names = FolderNames(folder.empty() ? "." : folder, error);
  if (std::find(names.begin(), names.end(), part) != names.end()) return part;
  std::sort(names.begin(), names.end());
  for (const std::string& name : names)
    if (EqualsIgnoringAsciiCase(name, part)) return name;
  return {};
}

}  // namespace

std::string ResolvePath(const std::string& folder, std::string_view relative) {
  std::string current = folder;
  bool searching = true;  // once a part is missing, nothing below it can exist
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = start;
    while (end < relative.size() && !IsSeparator(relative[end])) ++end;
    const std::string part(relative.substr(start, end - start));
    const bool last = end >= relative.size();
    if (!part.empty()) {
      std::string chosen = part;
      if (searching) {
        const std::string found = FindEntry(current, part);
        searching = !found.empty();
        if (searching) chosen = found;
      }
      current = JoinPath(current, chosen);
      if (!last) current += kPathSeparator;
    }
    if (last) break;
    start = end + 1;
  }
  return current;
}

std::string OwnFilePath(const std::string& folder, std::string_view relative) {
  const auto last = relative.find_last_of("/\\");
  if (last == std::string_view::npos) return JoinPath(folder, relative);
  return JoinPath(ResolvePath(folder, relative.substr(0, last)), relative.substr(last + 1));
}

bool PathFitsSystem(std::string_view path) {
#ifdef _WIN32
  // Longer than MAX_PATH works where long paths are enabled; elsewhere the system
  // refuses such a path itself, and the error names it.
  constexpr std::size_t kLongestPath = 32766;
  constexpr std::size_t kLongestPart = 255;
  // UTF-8 in, UTF-16 units counted: one per character, two for one beyond the BMP.
  const auto units = [](std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte & 0xC0) != 0x80) ++count;
      if (byte >= 0xF0) ++count;
    }
    return count;
  };
#else
  constexpr std::size_t kLongestPath = PATH_MAX - 1;
  constexpr std::size_t kLongestPart = NAME_MAX;
  const auto units = [](std::string_view text) { return text.size(); };
#endif
  if (units(path) > kLongestPath) return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (units(path.substr(start, end - start)) > kLongestPart) return false;
    start = end + 1;
  }
  return true;
}

bool FileExists(const std::string& path) {
  CountOperation(path);
  std::error_code error;
  return fs::is_regular_file(NativePath(path), error);
}

bool FolderExists(const std::string& path) {
  CountOperation(path);
  std::error_code error;
  return fs::is_directory(NativePath(path), error);
}

std::uint64_t FileSize(const std::string& path) {
  CountOperation(path);
  std::error_code error;
  const auto size = fs::file_size(NativePath(path), error);
  if (error) ThrowIoError(ErrnoOf(error), path);
  return size;
}

void DeleteFile(const std::string& path) {
  CountOperation(path);
  std::error_code error;
  if (!fs::remove(NativePath(path), error)) ThrowIoError(error ? ErrnoOf(error) : ENOENT, path);
}

void DeleteIfExists(const std::string& path) {
  if (FileExists(path)) DeleteFile(path);
}

void RenameFile(const std::string& from, const std::string& to) {
  CountOperation(to);
  // A link standing at `to` is replaced itself; what it points to stays untouched.
#ifdef _WIN32
  // MoveFileExW replaces a file or a link to one, not a link to a folder: that goes first.
  const std::wstring target = NativePath(to).wstring();
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !RemoveDirectoryW(target.c_str()))
    ThrowIoError(ErrnoOfWin32Error(GetLastError()), to);
  if (!MoveFileExW(NativePath(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ThrowIoError(ErrnoOfWin32Error(GetLastError()), to);
#else
  std::error_code error;
  fs::rename(NativePath(from), NativePath(to), error);
  if (error) ThrowIoError(ErrnoOf(error), to);
#endif
}

void CreateFolder(const std::string& path) {
  std::string folder = path;  // named without a closing separator, also in errors
  while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
  CountOperation(folder);
  std::error_code error;
  fs::create_directory(NativePath(folder), error);
  if (error) ThrowIoError(ErrnoOf(error), folder);
}

std::vector<std::string> ListFolder(const std::string& folder) {
  CountOperation(folder);
  std::error_code error;
  std::vector<std::string> names = FolderNames(folder, error);
  if (error) ThrowIoError(ErrnoOf(error), folder);
  std::sort(names.begin(), names.end());
  return names;
}

void MakeExecutable(const std::string& path) {
  CountOperation(path);
#ifndef _WIN32
  std::error_code error;
  fs::permissions(NativePath(path), fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, error);
  if (error) ThrowIoError(ErrnoOf(error), path);
#endif
}

// ---- InputFile ----

InputFile::InputFile(const std::string& path) : m_path(path) {
  CountOperation(path);
  m_stdioBuffer = std::make_unique_for_overwrite<char[]>(kStdioBufferSize);
  m_file = OpenForReading(path, m_stdioBuffer.get());
  if (m_file == nullptr) ThrowIoError(errno, path);
}

InputFile::~InputFile() {
  if (m_file != nullptr) std::fclose(m_file);
}

std::size_t InputFile::Read(void* buffer, std::size_t size) {
  char* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  // Hand out what a line read left in the buffer first.
  const std::size_t buffered = std::min(size, m_bufferEnd - m_bufferPos);
  if (buffered > 0) {
    std::memcpy(out, m_buffer.data() + m_bufferPos, buffered);
    m_bufferPos += buffered;
    done = buffered;
  }
  if (done == size) return done;
  CountOperation(m_path);
  const std::size_t got = std::fread(out + done, 1, size - done, m_file);
  if (got < size - done && std::ferror(m_file)) ThrowIoError(errno != 0 ? errno : EIO, m_path);
  return done + got;
}

void InputFile::ReadExact(void* buffer, std::size_t size) {
  if (Read(buffer, size) != size) ThrowReadBeyondEnd(m_path);
}

bool InputFile::FillBuffer() {
  if (m_buffer.empty()) m_buffer.resize(kReadBufferSize);
  CountOperation(m_path);
  const std::size_t got = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
  if (got == 0 && std::ferror(m_file)) ThrowIoError(errno != 0 ? errno : EIO, m_path);
  m_bufferPos = 0;
  m_bufferEnd = got;
  return got > 0;
}

bool InputFile::ReadLine(std::string& line) {
  line.clear();
  if (m_textEnded) return false;
  bool sawAnything = false;
  for (;;) {
    if (m_bufferPos == m_bufferEnd && !FillBuffer()) {
      m_textEnded = true;
      return sawAnything;
    }
    const char* begin = m_buffer.data() + m_bufferPos;
    const char* end = m_buffer.data() + m_bufferEnd;
    const char* stop = begin;
    while (stop != end && *stop != '\n' && *stop != '\r' && *stop != 26) ++stop;
    line.append(begin, stop);
    m_bufferPos += static_cast<std::size_t>(stop - begin);
    if (stop == end) {
      sawAnything = true;
      continue;
    }
    const char terminator = *stop;
    ++m_bufferPos;
    if (terminator == 26) {
      m_textEnded = true;
      return sawAnything || !line.empty();
    }
    if (terminator == '\r') {
      // CR LF is one line end, also when the LF starts the next buffer.
      if (m_bufferPos == m_bufferEnd) FillBuffer();
      if (m_bufferPos < m_bufferEnd && m_buffer[m_bufferPos] == '\n') ++m_bufferPos;
    }
    return true;
  }
}

std::string InputFile::ReadAll() {
  std::string result(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_bufferPos),
                     m_buffer.begin() + static_cast<std::ptrdiff_t>(m_bufferEnd));
  m_bufferPos = m_bufferEnd;
  char chunk[kReadBufferSize];
  for (;;) {
    const std::size_t got = Read(chunk, sizeof chunk);
    if (got == 0) break;
    result.append(chunk, got);
  }
  return result;
}

void InputFile::Close() {
  if (m_file == nullptr) return;
  CountOperation(m_path);  // an injected failure leaves the file to the destructor
  std::FILE* file = m_file;
  m_file = nullptr;
  if (std::fclose(file) != 0) ThrowIoError(errno, m_path);
}

// ---- OutputFile ----

namespace {

// Reports a failure `error` to create the file `path` as `failure` asks.
[[noreturn]] void ThrowCreateFailure(CreateFailure failure, int error, const std::string& path) {
  if (failure == CreateFailure::IoText) ThrowIoError(error, path);
  throw CannotCreateError(path, error);
}

}  // namespace

OutputFile::OutputFile(const std::string& path, AtLink atLink)
    : OutputFile(atLink == AtLink::FollowLink ? Making::NamedFile : Making::OwnFile, path, CreateFailure::IoText,
                 path) {}

OutputFile::OutputFile(Making making, const std::string& path, CreateFailure failure, const std::string& reportedPath)
    : m_path(path), m_reportedPath(reportedPath) {
  int error = 0;
  try {
    CountOperation(m_reportedPath);
    m_stdioBuffer = std::make_unique_for_overwrite<char[]>(kStdioBufferSize);
    switch (making) {
      case Making::OwnFile:
        m_file = OpenOwnFileForWriting(path, m_stdioBuffer.get());
        break;
      case Making::NamedFile:
        m_file = OpenNamedFileForWriting(path, m_stdioBuffer.get());
        break;
      case Making::TemporaryFile:
        m_file = CreateTemporaryFile(path, m_reportedPath, m_stdioBuffer.get());
        break;
    }
    if (m_file == nullptr) error = errno;
  } catch (const IoError& injected) {
    if (failure == CreateFailure::IoText) throw;
    error = injected.SystemErrorNumber();
  }
  if (error != 0) ThrowCreateFailure(failure, error, m_reportedPath);
}

OutputFile::~OutputFile() {
  if (m_file != nullptr) std::fclose(m_file);
}

void OutputFile::Write(const void* data, std::size_t size) {
  CountOperation(m_reportedPath);
  if (std::fwrite(data, 1, size, m_file) != size) ThrowIoError(errno != 0 ? errno : EIO, m_reportedPath);
}

void OutputFile::WriteLine(std::string_view line) {
  std::string withEnd;
  withEnd.reserve(line.size() + 2);
  withEnd.append(line).append("\r\n");
  Write(withEnd);
}

void OutputFile::Close() {
  if (m_file == nullptr) return;
  CountOperation(m_reportedPath);  // an injected failure leaves the file to the destructor
  std::FILE* file = m_file;
  m_file = nullptr;
  // fclose flushes what stdio still holds; a full disk often shows only here.
  if (std::fclose(file) != 0) ThrowIoError(errno, m_reportedPath);
}

// ---- AtomicFile ----

namespace {

// Refuses, before anything is written, to replace a folder or a read-only file.
const std::string& Replaceable(const std::string& targetPath, CreateFailure failure) {
  if (const int refusal = ReplaceRefusal(targetPath); refusal != 0) ThrowCreateFailure(failure, refusal, targetPath);
  return targetPath;
}

}  // namespace

AtomicFile::AtomicFile(const std::string& targetPath, CreateFailure failure)
    : m_targetPath(Replaceable(targetPath, failure)),
      m_output(OutputFile::Making::TemporaryFile, TemporaryPathFor(targetPath), failure, targetPath) {}

AtomicFile::~AtomicFile() {
  if (m_committed) return;
  try {
    m_output.Close();
  } catch (const IoError&) {
    // The temporary file is dropped anyway.
  }
  std::error_code ignored;
  fs::remove(NativePath(TemporaryPathFor(m_targetPath)), ignored);
}

void AtomicFile::Commit() {
  m_output.Close();
  RenameFile(TemporaryPathFor(m_targetPath), m_targetPath);
  m_committed = true;
}

std::string AtomicFile::TemporaryPathFor(const std::string& targetPath) { return targetPath + ".~new"; }

std::string ReadFile(const std::string& path) {
  InputFile file(path);
  std::string content = file.ReadAll();
  file.Close();
  return content;
}

std::vector<std::string> ReadLines(const std::string& path, std::size_t maxLines) {
  InputFile file(path);
  std::vector<std::string> lines;
  std::string line;
  while (lines.size() < maxLines && file.ReadLine(line)) lines.push_back(line);
  file.Close();
  return lines;
}

void ReplaceFile(const std::string& path, std::string_view content, CreateFailure failure) {
  AtomicFile file(path, failure);
  file.Write(content);
  file.Commit();
}
