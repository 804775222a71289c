#include "canvas/simo_schedule.h"

#include <algorithm>
#include <stdexcept>

#include "base/file_layer.h"
#include "canvas/canvas_job.h"

namespace {

inline constexpr int kLeastLinesPerPage = 32;
inline constexpr int kMostLinesPerPage = 64;

// Schedule line columns: the track code at 20 to 22, the printed text from 9 to 40 after
// eight blanks; report list item texts carry the track code at 4 to 6.
inline constexpr std::size_t kTrackCodeColumn = 19;
inline constexpr std::size_t kItemTrackColumn = 3;
inline constexpr std::size_t kTrackCodeLength = 3;
inline constexpr std::size_t kPrintedFirstColumn = 8;
inline constexpr std::size_t kPrintedLength = 32;

// Page layout, device pixels.
inline constexpr const char* kFontName = "Courier New";
inline constexpr int kHeadingPointSize = 18;
inline constexpr int kLinePointSize = 12;
inline constexpr int kHeadingX = 525;
inline constexpr int kHeadingY = 75;
inline constexpr int kFirstLineY = 325;

int HeldToRange(int lines) { return std::clamp(lines, kLeastLinesPerPage, kMostLinesPerPage) / 4 * 4; }

std::size_t RoundUpToFour(std::size_t value) { return (value + 3) / 4 * 4; }

}  // namespace

SimoPlan PlanSimoPages(std::uint16_t optimumLines, std::uint16_t maximumLines, std::size_t lineCount) {
  int optimum = HeldToRange(optimumLines);
  const int maximum = HeldToRange(maximumLines);
  if (maximum < optimum) optimum = maximum;
  const auto lines = [](std::size_t count) { return static_cast<std::uint16_t>(count); };

  if (lineCount <= static_cast<std::size_t>(optimum))
    return {lines(static_cast<std::size_t>(optimum)), SimoPageKind::OnePage};
  if (lineCount <= static_cast<std::size_t>(maximum)) return {lines(RoundUpToFour(lineCount)), SimoPageKind::OnePage};
  if (lineCount <= 2 * static_cast<std::size_t>(maximum)) {
    const std::size_t half = RoundUpToFour(RoundUpToFour(lineCount) / 2);
    const std::size_t held = std::clamp(half, static_cast<std::size_t>(optimum), static_cast<std::size_t>(maximum));
    return {lines(held), SimoPageKind::TwoPages};
  }
  return {lines(static_cast<std::size_t>(optimum)), SimoPageKind::MorePages};
}

std::vector<std::string> FilterSimoLines(const SimoTable& simoTable, const std::vector<std::string>& checkedItemTexts) {
  std::vector<std::string> codes;
  for (const std::string& text : checkedItemTexts) {
    if (text.size() >= kItemTrackColumn + kTrackCodeLength)
      codes.push_back(text.substr(kItemTrackColumn, kTrackCodeLength));
  }
  std::vector<std::string> filtered;
  for (const std::string_view line : simoTable) {
    if (line.size() < kTrackCodeColumn + kTrackCodeLength) continue;
    const std::string_view code = line.substr(kTrackCodeColumn, kTrackCodeLength);
    if (std::find(codes.begin(), codes.end(), code) != codes.end()) filtered.emplace_back(line);
  }
  return filtered;
}

void WriteSimoDump(const std::string& schedulePath, const std::vector<std::string>& lines) {
  AtomicFile file(schedulePath);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Commit();
}

void PrintSimoPages(PrinterCanvas& canvas, const std::vector<std::string>& lines, const SimoPlan& plan,
                    const std::string& dateText, bool twoUp) {
  if (lines.empty()) return;
  if (plan.linesPerPage == 0) throw std::invalid_argument("PrintSimoPages: no lines per page");
  const int linesPerPage = plan.linesPerPage;
  const long long pageWidth = canvas.PageWidth();
  const long long pageHeight = canvas.PageHeight();
  // (H x 0.9375) / (L x 1.0625) is 15 H / 17 L; its integer part, computed exactly.
  const int pitch = static_cast<int>(15 * pageHeight / (17LL * linesPerPage));
  const int gap = pitch / 4;
  const bool shareSheet = twoUp && plan.kind == SimoPageKind::TwoPages;

  CanvasJob job(canvas);
  int linesOnPage = 0;
  int columnX = 0;
  int y = 0;
  for (const std::string& line : lines) {
    if (linesOnPage == linesPerPage) {
      linesOnPage = 0;
      if (shareSheet && columnX == 0) {
        columnX = static_cast<int>(pageWidth / 2);  // the second half on the right of the same sheet
      } else {
        columnX = 0;
        job.BreakSheet();
      }
    }
    if (linesOnPage == 0) {
      job.SetFont(kFontName, kHeadingPointSize, true);
      job.Draw(columnX + kHeadingX, kHeadingY, dateText);
      job.SetFont(kFontName, kLinePointSize, true);
      y = gap / 2 + kFirstLineY;
    }
    ++linesOnPage;
    std::string printed(kPrintedFirstColumn, ' ');
    if (line.size() > kPrintedFirstColumn) printed += line.substr(kPrintedFirstColumn, kPrintedLength);
    job.Draw(columnX, y, printed);
    y += pitch;
    if (linesOnPage % 4 == 0) y += gap;
  }
  job.Finish();
}
