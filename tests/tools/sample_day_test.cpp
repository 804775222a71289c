#include "sample_day/sample_day.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "base/working_folders.h"
#include "import/race_data.h"
#include "support/temp_folder.h"

namespace {

constexpr std::size_t kRecord = 4096;
const std::string kTopPattern = "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(7, '\xC4');
const std::string kBottomPattern = "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(12, '\xC4') + "\xD9";
// Columns 70 to 78 of an odds table's start line.
const std::string kOddsRule = "\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC2\xC4";

struct Report {
  std::string name;
  std::vector<std::string> lines;
};

// The lines of a text up to its byte 26; every line must end with CR LF.
std::vector<std::string> TextLines(const std::string& text) {
  const std::string body = text.substr(0, text.find('\x1A'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < body.size()) {
    const std::size_t end = body.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text ends without CR LF: " << body.substr(start);
      break;
    }
    lines.push_back(body.substr(start, end - start));
    EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
    start = end + 2;
  }
  return lines;
}

// The reports of a text: each starts at a line with a form feed and "@" followed by its name.
std::vector<Report> Reports(const std::string& text) {
  std::vector<Report> reports;
  for (const std::string& line : TextLines(text)) {
    const std::size_t at = line.find('@');
    if (line.find('\x0C') != std::string::npos && at != std::string::npos) {
      std::size_t end = at + 1;
      while (end < line.size() && static_cast<unsigned char>(line[end]) > 32) ++end;
      reports.push_back({line.substr(at + 1, end - at - 1), {}});
    }
    if (!reports.empty()) reports.back().lines.push_back(line);
  }
  return reports;
}

char At(const std::string& line, std::size_t column) { return column <= line.size() ? line[column - 1] : '\0'; }

bool IsEntryLine(const std::string& line) { return line.size() == 80 && At(line, 72) == '.' && At(line, 77) == '.'; }

// An odds cell as the scratch editor reads it: blanks, then digits, a full stop and a digit.
double OddsValue(const std::string& cell) { return std::stod("0" + cell.substr(cell.find_first_not_of(' '))); }

// The small sample, decoded once with the user id "U123".
class SmallSampleDay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TempFolder folder;
    const std::string text = MakeSampleDayText(FindResource("Z"), {});
    const std::string dataPath = folder.Write("Data/Vantrose.DAT", MakeRaceDayData(text, kSampleRaceDay));
    s_raceDay = DecodeRaceData(dataPath, folder.Path() + "Vantrose.TXT", "U123").raceDay;
    s_decoded = ReadFile(folder.Path() + "Vantrose.TXT");
    s_reports = Reports(s_decoded);
  }

  static std::vector<const Report*> ReportsOf(char letter) {
    std::vector<const Report*> result;
    for (const Report& report : s_reports)
      if (report.name[0] == letter) result.push_back(&report);
    return result;
  }

  static inline std::uint16_t s_raceDay = 0;
  static inline std::string s_decoded;
  static inline std::vector<Report> s_reports;
};

TEST_F(SmallSampleDay, DecodesToFiftyReportsOfEveryKindForEveryScheduleTrack) {
  EXPECT_EQ(s_raceDay, kSampleRaceDay);
  ASSERT_EQ(s_reports.size(), static_cast<std::size_t>(kSmallSampleReports));

  std::set<std::string> names;
  for (const Report& report : s_reports) {
    // The letter, the track's place and code, and the race number except on the
    // one-per-track pages; never longer than a listed name.
    EXPECT_TRUE(report.name.size() == 6u || report.name.size() == 8u) << report.name;
    EXPECT_TRUE(names.insert(report.name).second) << "listed twice: " << report.name;
  }
  EXPECT_TRUE(names.count(std::string(kUngroupedSampleReport)));
  EXPECT_TRUE(names.count(std::string(kOtherLetterSampleReport)));

  const std::string schedule(FindResource("Z"));
  std::set<std::string> scheduleTracks;
  for (std::size_t line = 0; line + 40 <= schedule.size(); line += 42)
    scheduleTracks.insert(schedule.substr(line + 19, 3));
  EXPECT_EQ(scheduleTracks.size(), 8u);
  for (const std::string& track : scheduleTracks)
    for (const char letter : {'A', 'X', 'E', 'B'})
      EXPECT_TRUE(std::any_of(s_reports.begin(), s_reports.end(),
                              [&](const Report& r) { return r.name[0] == letter && r.name.substr(3, 3) == track; }))
          << letter << " page of " << track;
}

// The text ends with byte 26 and only byte 26 follows it, so no filler is read as lines;
// every marker byte was replaced by the user id.
TEST_F(SmallSampleDay, FillerIsByte26ToTheEndOfTheLastRecord) {
  ASSERT_EQ(s_decoded.size() % kRecord, 0u);
  const std::size_t end = s_decoded.find('\x1A');
  ASSERT_NE(end, std::string::npos);
  EXPECT_GT(end, s_decoded.size() - kRecord) << "the filler lies in the last record only";
  EXPECT_EQ(s_decoded.find_first_not_of('\x1A', end), std::string::npos);
  EXPECT_EQ(s_decoded.find('\x01'), std::string::npos);
  EXPECT_EQ(s_decoded.find('\x02'), std::string::npos);
}

// Title and footer lines end with "ID: " and the four user-id characters, past column 16,
// where the print stamp keeps them and appends its own fields.
TEST_F(SmallSampleDay, UserIdFillsTheIdFieldOfEveryTitleAndFooter) {
  for (const Report& report : s_reports) {
    SCOPED_TRACE(report.name);
    ASSERT_GE(report.lines.size(), 3u);
    for (const std::string& line : {report.lines[1], report.lines.back()}) {
      const std::size_t column = line.find("ID: ") + 1;
      EXPECT_GT(column, 16u) << line;
      EXPECT_EQ(line.substr(column - 1), "ID: U123") << line;
    }
  }
}

// Horse blocks: heading with the top pattern at column 42, performance lines (vertical bars at
// 42 and 64) and year rows (tees at 42 and 64), the bottom line with its tee at 51. E pages
// show whole records, some longer than 14 starts and some shorter than 7; B pages three at most.
TEST_F(SmallSampleDay, PerformanceTablesKeepTheirColumns) {
  std::size_t longest = 0, shortest = 99, eTables = 0;
  for (const char letter : {'E', 'B'}) {
    for (const Report* report : ReportsOf(letter)) {
      SCOPED_TRACE(report->name);
      bool inside = false;
      std::size_t performances = 0, tables = 0;
      for (const std::string& line : report->lines) {
        if (line.find(kTopPattern) != std::string::npos) {
          EXPECT_FALSE(inside) << "table not closed";
          EXPECT_EQ(line.find(kTopPattern), 41u) << line;
          inside = true;
          performances = 0;
        } else if (line.find(kBottomPattern) != std::string::npos) {
          EXPECT_TRUE(inside);
          EXPECT_EQ(line.find(kBottomPattern), 41u);
          EXPECT_EQ(At(line, 51), '\xC1');
          EXPECT_GE(performances, 1u);
          if (letter == 'B') {
            EXPECT_LE(performances, 3u);
          }
          if (letter == 'E') {
            longest = std::max(longest, performances);
            shortest = std::min(shortest, performances);
            ++eTables;
          }
          inside = false;
          ++tables;
        } else if (inside) {
          const bool performance = At(line, 42) == '\xB3' && At(line, 64) == '\xB3';
          const bool yearRow = At(line, 42) == '\xC3' && At(line, 64) == '\xB4' && At(line, 51) == '\xC5';
          EXPECT_TRUE(performance || yearRow) << line;
          if (performance) {
            ++performances;
            EXPECT_EQ(At(line, 51), '\xB3');
          }
        }
      }
      EXPECT_FALSE(inside) << "page ends inside a table";
      EXPECT_GE(tables, 6u) << "one table per runner";
    }
  }
  EXPECT_GT(longest, 14u);
  EXPECT_LT(shortest, 7u);
  EXPECT_GT(eTables, 0u);
}

// A and E pages carry one odds table each, one entry per runner, in the form the scratch
// editor rewrites; the fair odds imply chances that add up to about one.
TEST_F(SmallSampleDay, OddsTablesAreWhatTheScratchEditorReads) {
  for (const char letter : {'A', 'E'}) {
    for (const Report* report : ReportsOf(letter)) {
      SCOPED_TRACE(report->name);
      const std::vector<std::string>& lines = report->lines;
      std::size_t starts = 0, entries = 0;
      double fairChances = 0;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() != 80 || lines[i].substr(69, 9) != kOddsRule) continue;
        ++starts;
        std::size_t k = i + 1;
        for (; k < lines.size() && IsEntryLine(lines[k]); ++k) {
          EXPECT_EQ(lines[k].find('!'), std::string::npos);
          EXPECT_GT(OddsValue(lines[k].substr(69, 4)), 0.0);
          fairChances += 1 / (OddsValue(lines[k].substr(74, 4)) + 1);
          ++entries;
        }
        ASSERT_LT(k, lines.size()) << "an ending line follows the entries";
      }
      EXPECT_EQ(starts, 1u);
      EXPECT_GE(entries, 6u);
      EXPECT_LE(entries, 31u);
      EXPECT_NEAR(fairChances, 1.0, 0.03);
      if (letter == 'E') {
        const auto tables = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
          return line.find(kTopPattern) != std::string::npos;
        });
        EXPECT_EQ(static_cast<std::size_t>(tables), entries) << "one odds entry per horse block";
      }
    }
  }
}

TEST(SampleDayText, ReportCountFollowsTheSizeAndTheSameOptionsGiveTheSameText) {
  const std::string_view schedule = FindResource("Z");
  for (const int count : {2, 3, 11, 137, kLargeSampleReports}) {
    SCOPED_TRACE(count);
    const std::string text = MakeSampleDayText(schedule, {count, kSampleRaceDay});
    EXPECT_EQ(Reports(text).size(), static_cast<std::size_t>(count));
    EXPECT_EQ(text, MakeSampleDayText(schedule, {count, kSampleRaceDay}));
    if (count == kLargeSampleReports) {
      EXPECT_GT(text.size(), 2'000'000u);
    }
  }
}

TEST(SampleDayText, RefusesCountsAndDaysItCannotMake) {
  const std::string_view schedule = FindResource("Z");
  EXPECT_THROW(MakeSampleDayText(schedule, {1, kSampleRaceDay}), std::invalid_argument);
  EXPECT_THROW(MakeSampleDayText(schedule, {MaxSampleReports(schedule) + 1, kSampleRaceDay}), std::invalid_argument);
  EXPECT_THROW(MakeSampleDayText(schedule, {10, static_cast<std::uint16_t>(kEarliestSampleRaceDay - 1)}),
               std::invalid_argument);
  EXPECT_EQ(Reports(MakeSampleDayText(schedule, {MaxSampleReports(schedule), 65535})).size(),
            static_cast<std::size_t>(MaxSampleReports(schedule)));
}

// Padding a text with blanks would give the last report a line of filler; byte 26 ends the
// text instead, also when the text fills its records exactly.
TEST(MakeRaceDayData, FillerNeverBecomesALine) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{4}, kRecord - 1, kRecord, kRecord + 10}) {
    SCOPED_TRACE(size);
    std::string text;
    while (text.size() < size) text += "ab\r\n";
    text.resize(size);
    TempFolder folder;
    const std::string data = MakeRaceDayData(text, 15567);
    const std::size_t records = size / kRecord + 1;
    ASSERT_EQ(data.size(), (records + 1) * kRecord);
    EXPECT_EQ(static_cast<unsigned char>(data[0]) | static_cast<unsigned char>(data[1]) << 8, records);

    DecodeRaceData(folder.Write("Vantrose.DAT", data), folder.Path() + "Vantrose.TXT", "0000");
    InputFile decoded(folder.Path() + "Vantrose.TXT");
    std::string line;
    std::size_t lineCount = 0;
    while (decoded.ReadLine(line)) ++lineCount;
    EXPECT_EQ(lineCount, (size + 3) / 4);  // "ab" lines only, the last one possibly cut
  }
}

}  // namespace
