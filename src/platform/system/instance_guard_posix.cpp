#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "base/file_layer.h"
#include "platform/instance_guard.h"

namespace {

// How often a waiting start looks at the lock again.
constexpr std::chrono::milliseconds kPollInterval{20};

[[noreturn]] void ThrowCannotOpen(const std::string& path, int error) { throw CannotCreateError(path, error); }

}  // namespace

// An open descriptor of the lock file. flock() locks belong to the open file, so
// every process (and every guard in one process) that opens the file competes for
// the same lock, and the lock goes with the last descriptor, at the latest when the
// process ends.
struct InstanceGuard::Lock {
  ~Lock() {
    if (descriptor >= 0) close(descriptor);
  }
  int descriptor = -1;
};

InstanceGuard::InstanceGuard(const std::string& baseFolder)
    : m_lockPath(OwnFilePath(baseFolder, kInstanceLockFile)), m_lock(std::make_unique<Lock>()) {}

InstanceGuard::~InstanceGuard() = default;

bool InstanceGuard::Acquire(std::chrono::milliseconds wait) {
  if (m_lock->descriptor < 0) {
    // Read access is all a lock needs, so a lock file made by another account that
    // may use the folder locks as well. A link planted under the name is removed, not
    // followed; the lock file itself is never removed, or two processes could each
    // lock a file of their own.
    int descriptor = open(m_lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0 && (errno == ELOOP || errno == EMLINK) && unlink(m_lockPath.c_str()) == 0)
      descriptor = open(m_lockPath.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) ThrowCannotOpen(m_lockPath, errno);
    m_lock->descriptor = descriptor;
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (flock(m_lock->descriptor, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) ThrowCannotOpen(m_lockPath, errno);
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}
