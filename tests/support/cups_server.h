// A private CUPS scheduler for tests: its configuration, spool, logs and socket
// live in a temporary folder, and its "capture" backend writes every job it
// prints to a file there. The system's own scheduler is never touched. Works
// for an ordinary user and as root (then the backend runs as the scheduler's
// user "lp", so the capture folder is open to it).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class CupsServer {
 public:
  // Starts the scheduler and points this process's CUPS client at it
  // (CUPS_SERVER and cupsSetServer). Check Running() before use.
  CupsServer();
  ~CupsServer();
  CupsServer(const CupsServer&) = delete;
  CupsServer& operator=(const CupsServer&) = delete;

  bool Running() const { return m_pid > 0; }
  // Why the server is not running, for the test's failure message.
  const std::string& Problem() const { return m_problem; }

  // Adds a raw queue (no driver: jobs reach the backend unchanged) that captures its jobs.
  bool AddRawQueue(const std::string& name);
  // Adds a queue that rejects every job.
  bool AddRejectingQueue(const std::string& name);
  // Makes `name` the scheduler's default printer.
  bool SetDefault(const std::string& name);

  // The bytes of the next captured job not returned before, waiting up to `timeout`;
  // std::nullopt when none arrived.
  std::optional<std::string> NextJob(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Number of jobs captured so far.
  int CapturedJobCount() const;

  const std::string& Folder() const { return m_folder; }

 private:
  bool RunClient(const std::vector<std::string>& arguments);

  std::string m_folder;
  std::string m_socket;
  std::string m_captureFolder;
  std::string m_problem;
  pid_t m_pid = -1;
  int m_jobsReturned = 0;
};
