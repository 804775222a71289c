// Fuzzes the day's text from splitting to rejoining: the fuzzer's bytes are
// "Vantrose.TXT"; it is cut into report pages, the page list is built with E pages
// trimmed, and the pages are joined back. Checks: every report has its own page and
// twin file and nothing else appears in the folder; the list refers to real reports;
// a trimmed page keeps a selection of its twin's lines; after the rejoin only the day's
// text and the schedule are left, and the text holds the input's lines from the first
// report on (or stays as it was when it held no report).
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "base/text.h"
#include "fuzz_support.h"
#include "import/page_index.h"
#include "import/report_split.h"

namespace {

constexpr std::string_view kSchedule =
    "    1  1:05P  EDT  Tam 1       6f  Clm\r\n"
    "    2  1:35P  EDT  Aqu 1      1m   Alw\r\n";

void CheckPageList(const PageList& list, const ReportTable& reports) {
  FUZZ_CHECK(list.items.size() % kPageColumnRows == 0);
  if (list.items.empty()) {
    FUZZ_CHECK(list.selected == -1);
  } else {
    FUZZ_CHECK(list.selected >= 0 && static_cast<std::size_t>(list.selected) < list.items.size());
  }
  for (const PageItem& item : list.items) {
    FUZZ_CHECK(item.text.empty() == !item.report.has_value());
    if (!item.report) continue;
    FUZZ_CHECK(*item.report < reports.files.size());
    FUZZ_CHECK(reports.files[*item.report].name == item.text);
  }
}

// A trimmed E page holds some of its twin's lines, each cut to the trimming's limit, in order.
void CheckTrimmedPage(const std::string& folder, const ReportFile& file) {
  std::vector<std::string> twin = ReadLines(JoinPath(folder, file.twin));
  for (std::string& line : twin)
    if (line.size() > kTrimLineLimit) line.resize(kTrimLineLimit);
  const std::vector<std::string> page = ReadLines(JoinPath(folder, file.name));
  FUZZ_CHECK(IsSubsequence(page, twin, [](const std::string& a, const std::string& b) { return a == b; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmptyFuzzFolder();
  const std::string& folder = FuzzFolder();
  const std::string_view input = InputBytes(data, size);
  WriteFuzzFile("SimoDump.LST", kSchedule);
  const std::string textPath = WriteFuzzFile("Vantrose.TXT", input);
  const std::vector<std::string> inputLines = ReadLines(textPath);

  SimoTable simoTable;
  ReportTable reports;
  SplitReports(folder, simoTable, reports);
  FUZZ_CHECK(reports.splitComplete);
  FUZZ_CHECK(simoTable.size() == 2);

  std::set<std::string> names;  // upper-cased: names differ without regard to letter case
  for (const ReportFile& file : reports.files) {
    FUZZ_CHECK(file.name.size() <= kReportNameLimit && IsPlainReportName(file.name));
    FUZZ_CHECK(IsPlainReportName(file.twin));
    FUZZ_CHECK(names.insert(AsciiUpperText(file.name)).second);
    FUZZ_CHECK(names.insert(AsciiUpperText(file.twin)).second);
    FUZZ_CHECK(FileExists(JoinPath(folder, file.name)) && FileExists(JoinPath(folder, file.twin)));
  }
  FUZZ_CHECK(ListFolder(folder).size() == 2 + 2 * reports.files.size());

  // The performance limit comes from the input's length: -1 to 14, so the clamp is reached.
  const PageChoice choice{"AXEB", "ABCDEFGHIJKLMNOPQRSTUVWXY", true, static_cast<int>(size % 16) - 1};
  PageList list;
  BuildPageList(folder, reports, choice, list);
  CheckPageList(list, reports);
  for (const PageItem& item : list.items)
    if (item.report && item.text.front() == 'E') CheckTrimmedPage(folder, reports.files[*item.report]);

  const bool anyReport = !reports.files.empty();
  RejoinReports(folder, reports);
  FUZZ_CHECK(reports.files.empty() && !reports.splitComplete);
  FUZZ_CHECK(ListFolder(folder) == (std::vector<std::string>{"SimoDump.LST", "Vantrose.TXT"}));
  if (!anyReport) {
    FUZZ_CHECK(ReadFile(textPath) == input);
    return 0;
  }
  const auto firstReport = std::find_if(inputLines.begin(), inputLines.end(),
                                        [](const std::string& line) { return StartedReportName(line).has_value(); });
  FUZZ_CHECK(ReadLines(textPath) == std::vector<std::string>(firstReport, inputLines.end()));
  return 0;
}
