#include <thread>
#include <windows.h>

#include "base/file_layer.h"
#include "platform/instance_guard.h"

namespace {

// How often a waiting start looks at the lock again.
constexpr std::chrono::milliseconds kPollInterval{20};

[[noreturn]] void ThrowCannotOpen(const std::string& path, DWORD error) {
  throw CannotCreateError(path, ErrnoOfWin32Error(error));
}

}  // namespace

// An open handle of the lock file holding a byte-range lock on its first byte. The
// system releases the lock when the handle is closed, at the latest when the process ends.
struct InstanceGuard::Lock {
  ~Lock() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE handle = INVALID_HANDLE_VALUE;
};

InstanceGuard::InstanceGuard(const std::string& baseFolder)
    : m_lockPath(OwnFilePath(baseFolder, kInstanceLockFile)), m_lock(std::make_unique<Lock>()) {}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::Acquire(std::chrono::milliseconds wait) {
  if (m_lock->handle == INVALID_HANDLE_VALUE) {
    const std::wstring path = WidePath(m_lockPath);
    // A link planted under the name is removed, not followed; the lock file itself is
    // never removed, or two processes could each lock a file of their own.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        !((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())))
      ThrowCannotOpen(m_lockPath, GetLastError());
    // Opened with every kind of sharing: only the byte-range lock keeps instances apart.
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) ThrowCannotOpen(m_lockPath, GetLastError());
    m_lock->handle = handle;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED firstByte{};
    if (LockFileEx(m_lock->handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &firstByte))
      return true;
    if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING)
      ThrowCannotOpen(m_lockPath, GetLastError());
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}
