// Hands a finished PCL job file to the system's print spooler unchanged, as one
// raw document named "Vantrose", in blocks of 16384 bytes.
#pragma once

#include <memory>
#include <string>

// What became of a job: delivered to the spooler, or why not.
struct SpoolOutcome {
  bool delivered = false;
  std::string reason;  // the spooler's words when not delivered
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  // Sends the file at `jobPath` to the printer `deviceName` as a raw job. A spooler
  // failure (no such printer, job refused, write failed) ends the job and is
  // reported in the outcome; a job file that cannot be read throws IoError.
  virtual SpoolOutcome SpoolRawJob(const std::string& deviceName, const std::string& jobPath) = 0;
};

inline constexpr std::size_t kSpoolBlockSize = 16384;
inline constexpr char kSpoolDocumentName[] = "Vantrose";

// The spooler of this system: CUPS on Linux, the Windows spooler on Windows.
std::unique_ptr<Spooler> MakeSystemSpooler();
