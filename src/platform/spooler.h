// Hands a finished job file to the system's print spooler as one document named
// "Vantrose": a PCL job unchanged as raw data, in blocks of 16384 bytes, or (on
// Linux) the PDF file the printer canvas drew, with the paper it was laid out on.
#pragma once

#include <memory>
#include <string>

#include "platform/printer_canvas.h"

// What became of a job: delivered to the spooler, or why not.
struct SpoolOutcome {
  bool delivered = false;
  std::string reason;  // the spooler's words when not delivered
};

// What a job file holds and how the printer is to take it.
enum class DocumentFormat {
  Raw,  // printer language bytes, passed to the printer untouched
  Pdf,  // pages drawn by the printer canvas, printed through the printer's driver
};

struct JobDocument {
  DocumentFormat format = DocumentFormat::Raw;
  // A PDF document's paper: the page size's name as the printing system knows it
  // ("Letter", "Legal", "A4") and the orientation its pages were drawn in.
  std::string media;
  PageOrientation orientation = PageOrientation::Portrait;
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  // Sends the file at `jobPath` to the printer `deviceName` as one job of one copy.
  // A spooler failure (no such printer, job refused, write failed) ends the job and
  // is reported in the outcome; a job file that cannot be read throws IoError. An
  // empty file is nothing to print and never a failure (CUPS, which refuses an empty
  // document, is sent no job at all; the Windows spooler gets an empty document).
  virtual SpoolOutcome SpoolJob(const std::string& deviceName, const std::string& jobPath,
                                const JobDocument& document) = 0;

  // The PCL job at `jobPath`, raw.
  SpoolOutcome SpoolRawJob(const std::string& deviceName, const std::string& jobPath) {
    return SpoolJob(deviceName, jobPath, JobDocument{});
  }
};

inline constexpr std::size_t kSpoolBlockSize = 16384;
inline constexpr char kSpoolDocumentName[] = "Vantrose";

// The spooler of this system: CUPS on Linux, the Windows spooler on Windows (raw
// documents only there: canvas jobs go through the printer driver).
std::unique_ptr<Spooler> MakeSystemSpooler();
