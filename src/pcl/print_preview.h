// What PRINT would print for the checked pages, built in memory for the print
// preview with the code PRINT uses: the print text stamped with the job number
// PRINT would take next, and in the PCL modes the PCL job. It stores no job
// number, writes no file and changes no shared value; drawing is the window's.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "import/page_index.h"

// What the preview is asked for: the print choices PRINT would use.
struct PrintPreviewRequest {
  std::string baseFolder;
  int printMode = 0;            // PrintMode, 0..7
  std::uint16_t jobNumber = 0;  // the last job's number; the stamp carries the next one
  bool legalPaper = false;      // the LegalBox choice PRINT would take
  bool duplexPrint = false;     // the DuplexBox choice PRINT would take
};

// The job PRINT would print.
struct PrintPreviewJob {
  int printMode = 0;
  char modeLetter = 'J';
  bool legalPaper = false;
  bool duplexPrint = false;
  std::string jobNumberText;  // four digits, the number PRINT would stamp
  std::string printText;      // the bytes PRINT would write to the print file
  std::string pclJob;         // the PCL modes: the bytes of the job; empty in the canvas modes
};

// The preview of the checked pages of `list` at the local time `now`: nullopt when no
// item is checked (PRINT would print nothing). A checked page whose file is missing is
// skipped, as PRINT skips it. Throws IoError when a page file cannot be read.
std::optional<PrintPreviewJob> BuildPrintPreview(const PageList& list, const PrintPreviewRequest& request,
                                                 const std::tm& now);
