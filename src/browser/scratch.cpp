#include "browser/scratch.h"

#include <cerrno>
#include <cstdio>
#include <iterator>
#include <optional>
#include <utility>

#include "base/file_layer.h"
#include "base/scope_guard.h"
#include "base/text.h"

namespace {

constexpr std::size_t kTableLineLength = 80;

// Characters 70 to 78 of a table start line (code page 437 box drawing).
constexpr unsigned char kHorizontal = 196;
constexpr unsigned char kDownTee = 194;
constexpr unsigned char kTableStartPattern[] = {kHorizontal, kHorizontal, kDownTee, kHorizontal, kHorizontal,
                                                kHorizontal, kHorizontal, kDownTee, kHorizontal};

// 0-based offsets of the two four-character odds fields (characters 70 to 73 and
// 75 to 78) and of their decimal points (characters 72 and 77).
constexpr std::size_t kFirstField = 69;
constexpr std::size_t kSecondField = 74;
constexpr std::size_t kFieldWidth = 4;
constexpr std::size_t kPointInField = 2;

struct Odds {
  double first = 0;
  double second = 0;
};

// Reads a four-character odds field: leading blanks, an optional minus sign,
// digits, a full stop, digits, trailing blanks; at least one digit ("  .5" is 0.5).
// Empty when the field is no such number.
std::optional<double> ReadOddsField(std::string_view field) {
  std::size_t pos = 0;
  while (pos < field.size() && field[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < field.size() && field[pos] == '-') {
    negative = true;
    ++pos;
  }
  double value = 0;
  int digits = 0;
  while (pos < field.size() && field[pos] >= '0' && field[pos] <= '9') {
    value = value * 10 + (field[pos] - '0');
    ++digits;
    ++pos;
  }
  if (pos < field.size() && field[pos] == '.') {
    ++pos;
    double scale = 0.1;
    while (pos < field.size() && field[pos] >= '0' && field[pos] <= '9') {
      value += (field[pos] - '0') * scale;
      scale /= 10;
      ++digits;
      ++pos;
    }
  }
  while (pos < field.size() && field[pos] == ' ') ++pos;
  if (digits == 0 || pos != field.size()) return std::nullopt;
  return negative ? -value : value;
}

// Four characters: the value with one decimal, right-aligned; a wider result keeps
// its first four characters, and a leading " 0" loses its zero (0.5 shows as "  .5").
std::string FormatOddsField(double value) {
  // The re-normalised odds are never below zero; rounding noise must not show as "-0.0".
  if (value < 0) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%4.1f", value);
  std::string field(text, kFieldWidth);
  if (field[0] == ' ' && field[1] == '0') field[1] = ' ';
  return field;
}

std::string CutLine(const std::string& line) { return CutText(line, kScratchLineLimit); }

bool IsMarked(std::string_view line) { return line.find('!') != std::string_view::npos; }

// The lines of one table between its start line and its ending line.
struct Table {
  std::vector<std::string> lines;    // entry and marked lines, in page order
  std::vector<std::size_t> entries;  // indexes into `lines` of the entry lines
  std::vector<Odds> odds;            // the values of each entry
  bool valid = true;                 // every value readable and above -1.0
};

// Appends `table` to `out`: re-normalised without its marked lines, or unchanged
// when some entry has no valid chance.
void WriteTable(const Table& table, std::vector<std::string>& out) {
  if (!table.valid) {
    out.insert(out.end(), table.lines.begin(), table.lines.end());
    return;
  }
  double firstSum = 0;
  double secondSum = 0;
  for (const Odds& odds : table.odds) {
    firstSum += 1 / (odds.first + 1);
    secondSum += 1 / (odds.second + 1);
  }
  for (std::size_t k = 0; k < table.entries.size(); ++k) {
    std::string entry = table.lines[table.entries[k]];
    entry.replace(kFirstField, kFieldWidth, FormatOddsField((table.odds[k].first + 1) * firstSum - 1));
    entry.replace(kSecondField, kFieldWidth, FormatOddsField((table.odds[k].second + 1) * secondSum - 1));
    out.push_back(std::move(entry));
  }
}

// A page that is not a file: missing, or a filler's path (no selection's too), which is
// the folder itself and names no file, so its text stands alone.
void RequirePage(const std::string& pagePath) {
  if (FileExists(pagePath)) return;
  if (FolderPart(pagePath) == pagePath) throw IoError(IoErrorText(ENOENT), ENOENT);
  ThrowIoError(ENOENT, pagePath);
}

std::string PagePath(const std::string& baseFolder, std::string_view pageName) {
  return JoinPath(baseFolder, pageName);
}

}  // namespace

bool IsTableStartLine(std::string_view line) {
  if (line.size() != kTableLineLength) return false;
  for (std::size_t i = 0; i < std::size(kTableStartPattern); ++i)
    if (static_cast<unsigned char>(line[kFirstField + i]) != kTableStartPattern[i]) return false;
  return true;
}

bool IsEntryLine(std::string_view line) {
  return line.size() == kTableLineLength && line[kFirstField + kPointInField] == '.' &&
         line[kSecondField + kPointInField] == '.';
}

std::vector<std::string> ScratchLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::size_t next = 0;
  while (next < lines.size()) {
    out.push_back(CutLine(lines[next++]));
    if (!IsTableStartLine(out.back())) continue;

    Table table;
    std::optional<std::string> endingLine;
    while (next < lines.size()) {
      std::string line = CutLine(lines[next++]);
      if (IsMarked(line)) {
        table.lines.push_back(std::move(line));
        continue;
      }
      if (!IsEntryLine(line)) {
        endingLine = std::move(line);
        break;
      }
      const std::string_view view(line);
      const std::optional<double> first = ReadOddsField(view.substr(kFirstField, kFieldWidth));
      const std::optional<double> second = ReadOddsField(view.substr(kSecondField, kFieldWidth));
      // Odds of -1.0 or below have no chance 1 / (x + 1) to add up.
      if (!first || !second || *first <= -1 || *second <= -1) {
        table.valid = false;
        table.odds.push_back({});
      } else {
        table.odds.push_back({*first, *second});
      }
      table.entries.push_back(table.lines.size());
      table.lines.push_back(std::move(line));
    }
    WriteTable(table, out);
    // The ending line is copied as it is, never taken as the start of another table.
    if (endingLine) out.push_back(std::move(*endingLine));
  }
  return out;
}

std::vector<std::string> LoadPageLines(const std::string& pagePath) {
  RequirePage(pagePath);
  return ReadLines(pagePath);
}

void SavePageLines(const std::string& pagePath, const std::vector<std::string>& lines) {
  AtomicFile page(pagePath);
  for (const std::string& line : lines) page.WriteLine(line);
  page.Commit();
}

void ScratchPage(const std::string& baseFolder, std::string_view pageName) {
  const std::string pagePath = PagePath(baseFolder, pageName);
  const std::vector<std::string> lines = ScratchLines(LoadPageLines(pagePath));

  const std::string workPath = OwnFilePath(baseFolder, kScratchWorkFile);
  // The work file goes again when the page was not replaced by it.
  ScopeGuard workGuard([&workPath] { DeleteIfExists(workPath); });
  OutputFile work(workPath);
  for (const std::string& line : lines) work.WriteLine(line);
  work.Close();
  // The rename replaces the page in one step, so there is never a moment without it.
  RenameFile(workPath, pagePath);
  workGuard.Dismiss();
}

void ApplyScratchEdit(const std::string& baseFolder, std::string_view pageName,
                      const std::vector<std::string>& editedLines) {
  const std::string pagePath = PagePath(baseFolder, pageName);
  RequirePage(pagePath);
  // The old bytes go back unless both steps finished; the page is whole either way.
  ScopeGuard pageGuard([&pagePath, oldBytes = ReadFile(pagePath)] { ReplaceFile(pagePath, oldBytes); });
  SavePageLines(pagePath, editedLines);
  ScratchPage(baseFolder, pageName);
  pageGuard.Dismiss();
}
