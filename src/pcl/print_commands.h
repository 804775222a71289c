// The work of the two print commands apart from their windows: the print stamp,
// the job number, writing the print file from page files, and sending it to the
// printer through the canvas (WIN modes) or as a raw PCL job (PCL modes), with
// the work files removed at the end. No Qt.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class PrinterCanvas;
class Spooler;

// Captions of the eight print modes: five blanks, the mode's name and trailing blanks,
// exactly 29 characters each.
inline constexpr std::size_t kPrintModeNameLength = 29;
inline constexpr std::array<std::string_view, 8> PrintModeNames = {
    "     WIN Portrait 9pt        ", "     WIN  *reserved*         ", "     WIN Portrait 7pt        ",
    "     WIN Landscape 7pt       ", "     PCL Portrait 10pt       ", "     PCL  *reserved*         ",
    "     PCL Portrait 6pt        ", "     PCL Landscape 6pt       ",
};
static_assert(
    [] {
      for (const std::string_view name : PrintModeNames)
        if (name.size() != kPrintModeNameLength) return false;
      return true;
    }(),
    "every print-mode caption is 29 characters long");

// The name of print mode `printMode` without the caption's blanks, e.g. "PCL Portrait 10pt".
constexpr std::string_view PrintModeName(int printMode) {
  std::string_view name = PrintModeNames[static_cast<std::size_t>(printMode)];
  name.remove_prefix(name.find_first_not_of(' '));
  return name.substr(0, name.find_last_not_of(' ') + 1);
}

inline constexpr std::string_view kPrintFileName = "Vantrose.PRN";
inline constexpr std::string_view kPclJobFileName = "Vantrose.PCL";
// Where the job number is kept between runs, beside the settings.
inline constexpr std::string_view kJobNumberFileName = "Exec/Vantrose.JOB";

// What a print command stamps on lines that carry "ID: ".
struct PrintStamp {
  char weekdayDigit = '1';    // 1 Monday .. 7 Sunday
  std::string timeText;       // "HH:MM:SS", 24-hour clock
  std::string jobNumberText;  // four digits
};

// The stamp for the local time `now` and a job number text.
PrintStamp MakePrintStamp(const std::tm& now, const std::string& jobNumberText);

// The computer's current local time, read once for a command's stamp.
std::tm LocalTimeNow();

// The line with its stamp: when "ID: " first starts past column 16 (p > 16, 1-based),
// its first p + 7 characters, four blanks, the weekday digit, a blank, the time, two
// blanks and the job number; otherwise the line unchanged.
std::string StampLine(std::string_view line, const PrintStamp& stamp);

// `number` as four decimal digits with leading zeros.
std::string JobNumberText(std::uint16_t number);

// The job number after `jobNumber`: 9999 is followed by 0.
std::uint16_t NextJobNumber(std::uint16_t jobNumber);

// The mode letter of a print mode: "J" minus (mode mod 4).
char ModeLetter(int printMode);
// True for the four PCL modes (4 to 7).
bool IsPclMode(int printMode);

// Writes the print file at `printFilePath`: the lines of each existing file of
// `pagePaths`, in order, each followed by CR LF, stamped when `stamp` is given.
// Missing page files are skipped. Throws IoError.
void WritePrintFile(const std::string& printFilePath, const std::vector<std::string>& pagePaths,
                    const PrintStamp* stamp);

// The bytes WritePrintFile would write for the same pages, held in memory (the print
// preview). Throws IoError when a page file cannot be read.
std::string ComposePrintText(const std::vector<std::string>& pagePaths, const PrintStamp* stamp);

// What became of a print: taken by the printing system, or why not.
struct PrintOutcome {
  bool delivered;
  std::string reason;  // why not, in the printing system's words

  static PrintOutcome Delivered() { return {true, {}}; }
  static PrintOutcome Failed(std::string reason) { return {false, std::move(reason)}; }
};

// Prints the print file of `baseFolder` in `printMode`: canvas printing for the WIN
// modes (which may set `legalPaper` from the page's shape), a PCL job spooled raw to
// `deviceName` for the PCL modes. Then deletes the print file and the PCL job file
// when they exist. A printing failure is returned, not thrown; a file failure throws
// IoError and leaves the work files in place.
PrintOutcome PrintWorkFile(const std::string& baseFolder, int printMode, bool& legalPaper, bool duplexPrint,
                           PrinterCanvas& canvas, Spooler& spooler, const std::string& deviceName);

// The job number kept in `path`: 0 when the file is missing or holds no number up to 9999.
std::uint16_t ReadJobNumber(const std::string& path);
// Keeps `jobNumber` in `path` (replaced atomically).
void WriteJobNumber(const std::string& path, std::uint16_t jobNumber);
