// Writes a race day of the project's own as a scrambled data file, and optionally its
// plain text records, from the built-in sample schedule. The same arguments always give
// the same bytes.
//   make_race_day [--size small|large|N] [--date DAY-NUMBER] [--text TEXT-PATH] DATA-PATH
// small is 50 reports, large 1000 (several MB); N is a number of reports. DAY-NUMBER
// counts days from Wednesday 28 November 1973 (default 15567, Tue 12-Jul-2016).
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "base/file_layer.h"
#include "base/working_folders.h"
#include "sample_day/sample_day.h"

namespace {

constexpr const char* kUsage =
    "usage: make_race_day [--size small|large|N-REPORTS] [--date DAY-NUMBER] [--text TEXT-PATH] DATA-PATH\n";

// A whole decimal number from `low` to `high`; -1 when `text` is not one.
long ParseNumber(const char* text, long low, long high) {
  if (*text == '\0' || std::strlen(text) > 9) return -1;
  long value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return -1;
    value = value * 10 + (*c - '0');
  }
  return value >= low && value <= high ? value : -1;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "make_race_day: %s\n%s", text.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  SampleDayOptions options;
  std::string textPath;
  std::string dataPath;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--size" && hasValue) {
      const std::string size = argv[++i];
      if (size == "small") {
        options.reportCount = kSmallSampleReports;
      } else if (size == "large") {
        options.reportCount = kLargeSampleReports;
      } else {
        const long count = ParseNumber(argv[i], 1, 1000000);
        if (count < 0) return Fail("--size wants small, large or a number of reports, not \"" + size + "\"");
        options.reportCount = static_cast<int>(count);
      }
    } else if (argument == "--date" && hasValue) {
      const long day = ParseNumber(argv[++i], 0, 65535);
      if (day < 0) return Fail("--date wants a day number from 0 to 65535");
      options.raceDay = static_cast<std::uint16_t>(day);
    } else if (argument == "--text" && hasValue) {
      textPath = argv[++i];
    } else if (dataPath.empty() && !argument.empty() && argument[0] != '-') {
      dataPath = argument;
    } else {
      return Fail("unexpected argument \"" + argument + "\"");
    }
  }
  if (dataPath.empty()) return Fail("no DATA-PATH given");

  std::string writing;  // the file being written, for the error text
  try {
    const std::string text = MakeSampleDayText(FindResource("Z"), options);
    const std::string data = MakeRaceDayData(text, options.raceDay);
    // The data file is written last, so a build that sees it finds the text beside it too.
    if (!textPath.empty()) ReplaceFile(writing = textPath, PadTextRecords(text));
    ReplaceFile(writing = dataPath, data);
  } catch (const IoError& error) {
    std::fprintf(stderr, "make_race_day: %s%s%s\n", writing.c_str(), writing.empty() ? "" : ": ", error.what());
    return 1;
  } catch (const std::logic_error& error) {  // a report count or race day the generator cannot make
    return Fail(error.what());
  }
  return 0;
}
