// Lays the text of a parsed PCL job out on the sheets a printer would eject, in the
// device pixels of a given resolution: each run's place, the size and pitch of its
// fixed-pitch font, and each sheet's paper and orientation. Draws nothing.
// The printer's own unprintable margins are not modelled: decipoint (0, 0) is the
// sheet's top-left corner.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pcl/pcl_reader.h"
#include "platform/printer_canvas.h"

enum class PclPaper { Letter, Legal };

// One run of text as it lands on a sheet.
struct PclPlacedRun {
  std::string bytes;       // as the job holds them
  double x = 0;            // left end of the baseline, device pixels from the sheet's left edge
  double y = 0;            // the baseline, device pixels from the sheet's top edge
  double advance = 0;      // device pixels from one character to the next (the pitch)
  double pixelHeight = 0;  // the font's height in device pixels
  bool pc8 = false;        // PC-8 symbol set: the bytes are code page 437
};

struct PclSheet {
  PageOrientation orientation = PageOrientation::Portrait;
  PclPaper paper = PclPaper::Letter;
  std::vector<PclPlacedRun> runs;
};

struct PclSheetLayout {
  std::vector<PclSheet> sheets;
  int unknownCommands = 0;    // commands the reader did not understand and skipped
  int malformedCommands = 0;  // broken escape sequences, skipped
};

// Fonts without a pitch or a height print at these.
inline constexpr double kPclDefaultPitch = 10;   // characters per inch
inline constexpr double kPclDefaultHeight = 12;  // points

// The sheets of `job` at `dotsPerInch` (more than 0). Every form feed ejects a sheet, with
// or without text on it; text after the last form feed fills one more sheet, as the
// printer ejects it at the end of the job. A sheet takes the paper and orientation in
// force when its first text is printed (a text-less one those at its form feed); a reset
// returns to portrait letter, page size 3 selects legal and any other size letter.
PclSheetLayout LayPclSheets(const ParsedPclJob& job, double dotsPerInch);

// The UTF-8 text a run shows: code page 437 characters for PC-8, Latin-1 otherwise. A
// control byte prints nothing of its own and shows as a blank, so the columns after it
// stay where the cursor put them.
std::string PclRunText(std::string_view bytes, bool pc8);
