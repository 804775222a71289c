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
  // Adds a queue with a driver description (PPD) offering Letter and Legal paper, with
  // `defaultPaper` ("Letter" or "Legal") as its default and a printable area 18 points in
  // from the sides and 36 from top and bottom. It takes PDF and raw jobs unchanged and
  // captures them as a raw queue does.
  bool AddPaperQueue(const std::string& name, const std::string& defaultPaper);
  // Makes `name` the scheduler's default printer.
  bool SetDefault(const std::string& name);

  // A job as the printer's backend received it.
  struct CapturedJob {
    std::string bytes;
    std::string printer;  // the queue that printed it
    std::string title;    // the job's name
    std::string copies;   // the number of copies, as text
    std::string options;  // the job's options, "name=value" separated by blanks
  };
  // The next captured job not returned before, waiting up to `timeout`; std::nullopt
  // when none arrived.
  std::optional<CapturedJob> NextCapturedJob(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // The bytes of the next captured job, as NextCapturedJob.
  std::optional<std::string> NextJob(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Number of jobs captured so far.
  int CapturedJobCount() const;

  const std::string& Folder() const { return m_folder; }
  // The socket clients reach the scheduler on (what CUPS_SERVER names).
  const std::string& Socket() const { return m_socket; }
  // Where the capture backend puts each job, as job-N.prn.
  const std::string& CaptureFolder() const { return m_captureFolder; }

 private:
  bool RunClient(const std::vector<std::string>& arguments);

  std::string m_folder;
  std::string m_socket;
  std::string m_captureFolder;
  std::string m_problem;
  pid_t m_pid = -1;
  int m_jobsReturned = 0;
};
