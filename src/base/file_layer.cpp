#include "base/file_layer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// <windows.h> names DeleteFileW and ReplaceFileW so; the file layer's own keep their names.
#undef DeleteFile
#undef ReplaceFile
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

// Opens with `buffer` (kStdioBufferSize bytes, living until the file is closed) as its
// stdio buffer, larger than the default, so that record-sized reads and writes do not
// each cost a system call.
std::FILE* OpenFile(const std::string& path, const char* mode, char* buffer) {
#ifdef _WIN32
  std::FILE* file = _wfopen(NativePath(path).c_str(), mode[0] == 'r' ? L"rb" : L"wb");
#else
  std::FILE* file = std::fopen(path.c_str(), mode);
#endif
  if (file != nullptr) std::setvbuf(file, buffer, _IOFBF, kStdioBufferSize);
  return file;
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
  std::error_code error;
  fs::rename(NativePath(from), NativePath(to), error);
  if (error) ThrowIoError(ErrnoOf(error), to);
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
  m_file = OpenFile(path, "rb", m_stdioBuffer.get());
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

OutputFile::OutputFile(const std::string& path, CreateFailure failure, const std::string& reportedPath)
    : m_path(path), m_reportedPath(reportedPath.empty() ? path : reportedPath) {
  int error = 0;
  try {
    CountOperation(m_reportedPath);
    m_stdioBuffer = std::make_unique_for_overwrite<char[]>(kStdioBufferSize);
    m_file = OpenFile(path, "wb", m_stdioBuffer.get());
    if (m_file == nullptr) error = errno;
  } catch (const IoError& injected) {
    if (failure == CreateFailure::IoText) throw;
    error = injected.SystemErrorNumber();
  }
  if (error == 0) return;
  if (failure == CreateFailure::IoText) ThrowIoError(error, m_reportedPath);
  throw IoError("Cannot create file \"" + m_reportedPath + "\". " + std::generic_category().message(error), error);
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

AtomicFile::AtomicFile(const std::string& targetPath, CreateFailure failure)
    : m_targetPath(targetPath), m_output(TemporaryPathFor(targetPath), failure, targetPath) {}

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
