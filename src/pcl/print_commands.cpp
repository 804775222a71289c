#include "pcl/print_commands.h"

#include <cstdio>

#include "base/file_layer.h"
#include "canvas/canvas_print.h"
#include "pcl/pcl_compose.h"
#include "platform/printer_canvas.h"
#include "platform/spooler.h"

namespace {
constexpr std::size_t kStampMarkerLimit = 16;  // "ID: " must start after this column
constexpr std::size_t kStampKeptAfterMarker = 7;

// Hands every line of the existing files of `pagePaths`, in order and stamped when
// `stamp` is given, to `writeLine`; missing files are skipped.
template <typename WriteLine>
void CopyPageLines(const std::vector<std::string>& pagePaths, const PrintStamp* stamp, WriteLine writeLine) {
  std::string line;
  for (const std::string& pagePath : pagePaths) {
    if (!FileExists(pagePath)) continue;
    InputFile page(pagePath);
    while (page.ReadLine(line)) writeLine(stamp != nullptr ? StampLine(line, *stamp) : line);
    page.Close();
  }
}
}  // namespace

PrintStamp MakePrintStamp(const std::tm& now, const std::string& jobNumberText) {
  PrintStamp stamp;
  stamp.weekdayDigit = static_cast<char>('0' + (now.tm_wday == 0 ? 7 : now.tm_wday));
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
  stamp.timeText = time;
  stamp.jobNumberText = jobNumberText;
  return stamp;
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

std::string StampLine(std::string_view line, const PrintStamp& stamp) {
  const std::size_t found = line.find("ID: ");
  if (found == std::string_view::npos || found + 1 <= kStampMarkerLimit) return std::string(line);
  std::string stamped(line.substr(0, found + 1 + kStampKeptAfterMarker));
  stamped += "    ";
  stamped += stamp.weekdayDigit;
  stamped += ' ';
  stamped += stamp.timeText;
  stamped += "  ";
  stamped += stamp.jobNumberText;
  return stamped;
}

std::string JobNumberText(std::uint16_t number) {
  const std::string digits = std::to_string(10000 + number % 10000);
  return digits.substr(digits.size() - 4);
}

std::uint16_t NextJobNumber(std::uint16_t jobNumber) {
  return jobNumber >= 9999 ? 0 : static_cast<std::uint16_t>(jobNumber + 1);
}

char ModeLetter(int printMode) { return static_cast<char>('J' - printMode % 4); }

bool IsPclMode(int printMode) { return printMode >= 4; }

void WritePrintFile(const std::string& printFilePath, const std::vector<std::string>& pagePaths,
                    const PrintStamp* stamp) {
  OutputFile printFile(printFilePath);
  CopyPageLines(pagePaths, stamp, [&printFile](std::string_view line) { printFile.WriteLine(line); });
  printFile.Close();
}

std::string ComposePrintText(const std::vector<std::string>& pagePaths, const PrintStamp* stamp) {
  std::string text;
  CopyPageLines(pagePaths, stamp, [&text](std::string_view line) {
    text += line;
    text += "\r\n";
  });
  return text;
}

PrintOutcome PrintWorkFile(const std::string& baseFolder, int printMode, bool& legalPaper, bool duplexPrint,
                           PrinterCanvas& canvas, Spooler& spooler, const std::string& deviceName) {
  const std::string printFile = OwnFilePath(baseFolder, kPrintFileName);
  const std::string jobFile = OwnFilePath(baseFolder, kPclJobFileName);
  const char letter = ModeLetter(printMode);
  PrintOutcome outcome = PrintOutcome::Delivered();
  if (IsPclMode(printMode)) {
    BuildPclJob(printFile, jobFile, letter, legalPaper, duplexPrint);
    const SpoolOutcome spooled = spooler.SpoolRawJob(deviceName, jobFile);
    if (!spooled.delivered) outcome = PrintOutcome::Failed(spooled.reason);
  } else {
    try {
      CanvasPrintFile(baseFolder, std::string(kPrintFileName), letter, canvas, legalPaper);
    } catch (const PrintFailure& failure) {
      outcome = PrintOutcome::Failed(failure.what());
    }
  }
  DeleteIfExists(printFile);
  DeleteIfExists(jobFile);
  return outcome;
}

std::uint16_t ReadJobNumber(const std::string& path) {
  if (!FileExists(path)) return 0;
  const std::vector<std::string> lines = ReadLines(path, 1);
  const std::string line = lines.empty() ? std::string() : lines.front();
  if (line.empty() || line.size() > 4 || line.find_first_not_of("0123456789") != std::string::npos) return 0;
  return static_cast<std::uint16_t>(std::stoi(line));
}

void WriteJobNumber(const std::string& path, std::uint16_t jobNumber) {
  ReplaceFile(path, JobNumberText(jobNumber) + "\r\n");
}
