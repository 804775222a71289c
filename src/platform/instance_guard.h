// Keeps the program to one running instance per working folder: a lock file in
// the system's temporary folder, named after "!Vantrose@@@" and the working
// folder. A lock left by a crashed instance is taken over.
#pragma once

#include <chrono>
#include <memory>
#include <string>

// How long a second start waits for the running one to end before it gives up.
inline constexpr std::chrono::milliseconds kInstanceWait{2000};

class InstanceGuard {
 public:
  explicit InstanceGuard(const std::string& baseFolder);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // Waits at most `wait` for the lock; true when this process now holds it. The lock
  // is held until the guard is destroyed (at process end).
  bool Acquire(std::chrono::milliseconds wait);

  const std::string& LockPath() const { return m_lockPath; }

  // The lock file's path for a working folder.
  static std::string LockPathFor(const std::string& baseFolder);

 private:
  std::string m_lockPath;
  struct Lock;  // the system's lock object
  std::unique_ptr<Lock> m_lock;
};
