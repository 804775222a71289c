// Keeps the program to one running instance per working folder: the lock is the
// file "Exec/Vantrose.LCK" inside the working folder, held with the system's file
// locking. Every process that opens the folder sees it, whatever its temporary
// folder, its user or its spelling of the folder's path; the system lets go of it
// when its holder ends, also by a crash, so a crashed instance's lock is taken over.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

// How long a second start waits for the running one to end before it gives up.
inline constexpr std::chrono::milliseconds kInstanceWait{2000};

// The lock file, relative to the working folder.
inline constexpr std::string_view kInstanceLockFile = "Exec/Vantrose.LCK";

class InstanceGuard {
 public:
  explicit InstanceGuard(const std::string& baseFolder);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Waits at most `wait` for the lock; true when this process now holds it, false when
  // another holds it all the while. The lock is held until the guard is destroyed (at
  // process end). Throws IoError "Cannot create file "PATH". REASON" when the lock
  // file cannot be opened, for example when the folder "Exec" is missing.
  bool Acquire(std::chrono::milliseconds wait);

  const std::string& LockPath() const { return m_lockPath; }

 private:
  std::string m_lockPath;
  struct Lock;  // the system's lock object
  std::unique_ptr<Lock> m_lock;
};
