#include "canvas/simo_schedule.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"

namespace {

using Kind = RecordingCanvas::Kind;

// A 40-column schedule line for race `race` at `track`.
std::string ScheduleLine(int race, const std::string& track) {
  std::string number = std::to_string(race);
  if (number.size() < 2) number = " " + number;
  return "        12:15 - " + number + " " + track + "  -  8.0f T       ";
}

std::vector<std::string> ScheduleLines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(ScheduleLine(i % 100, "Kee"));
  return lines;
}

TEST(PlanSimoPages, LinesPerPageAndKindFollowTheLineCount) {
  struct Case {
    int optimum;
    int maximum;
    int lines;
    int linesPerPage;
    SimoPageKind kind;
  };
  const Case cases[] = {
      {32, 64, 0, 32, SimoPageKind::OnePage},
      {32, 64, 30, 32, SimoPageKind::OnePage},
      {32, 64, 32, 32, SimoPageKind::OnePage},
      {32, 64, 33, 36, SimoPageKind::OnePage},
      {32, 64, 50, 52, SimoPageKind::OnePage},
      {32, 64, 64, 64, SimoPageKind::OnePage},
      {32, 64, 65, 36, SimoPageKind::TwoPages},   // 36 and 29
      {32, 64, 100, 52, SimoPageKind::TwoPages},  // 52 and 48
      {32, 64, 128, 64, SimoPageKind::TwoPages},
      {32, 64, 129, 32, SimoPageKind::MorePages},  // five pages
      {48, 64, 65, 48, SimoPageKind::TwoPages},    // half of 68 is 36, raised to the optimum
      {40, 40, 70, 40, SimoPageKind::TwoPages},
      {20, 100, 70, 36, SimoPageKind::TwoPages},  // held to 32 and 64
      {34, 63, 10, 32, SimoPageKind::OnePage},    // rounded down to multiples of 4
      {63, 50, 40, 48, SimoPageKind::OnePage},    // an optimum above the maximum comes down
      {63, 50, 97, 48, SimoPageKind::MorePages},
      {32, 64, 70000, 32, SimoPageKind::MorePages},  // no 16-bit wrap of the count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.optimum) + "/" + std::to_string(c.maximum) + ", " + std::to_string(c.lines));
    const SimoPlan plan = PlanSimoPages(static_cast<std::uint16_t>(c.optimum), static_cast<std::uint16_t>(c.maximum),
                                        static_cast<std::size_t>(c.lines));
    EXPECT_EQ(plan.linesPerPage, c.linesPerPage);
    EXPECT_EQ(plan.kind, c.kind);
  }
}

TEST(FilterSimoLines, KeepsLinesOfCheckedTracksOnceInScheduleOrder) {
  const std::vector<std::string> table = {
      ScheduleLine(1, "Kee"), ScheduleLine(1, "GPx"),      ScheduleLine(2, "Kee"),
      ScheduleLine(1, "KEE"), std::string(19, ' ') + "Ke", "",
      ScheduleLine(3, "Sar"),
  };
  struct Case {
    const char* name;
    std::vector<std::string> checked;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {"one track", {"A01Kee"}, {table[0], table[2]}},
      {"two items of one track keep each line once", {"A01Kee", "E01Kee"}, {table[0], table[2]}},
      {"tracks in any order keep schedule order", {"X01Sar", "B01GPx"}, {table[1], table[6]}},
      {"letter case counts", {"A01KEE"}, {table[3]}},
      {"no checked item", {}, {}},
      {"an empty filler matches no short line", {""}, {}},
      {"a track without lines", {"A01Bel"}, {}},
  };
  SimoTable simoTable;
  for (const std::string& line : table) simoTable.Add(line);
  for (const Case& c : cases) EXPECT_EQ(FilterSimoLines(simoTable, c.checked), c.kept) << c.name;
}

TEST(WriteSimoDump, WritesLinesWithCrLf) {
  TempFolder folder;
  const std::string path = folder.Write("SimoDump.LST", "old\r\n");
  WriteSimoDump(path, {"a", "b"});
  EXPECT_EQ(folder.Read("SimoDump.LST"), "a\r\nb\r\n");
  WriteSimoDump(path, {});
  EXPECT_EQ(folder.Read("SimoDump.LST"), "");
}

TEST(WriteSimoDump, FailureAtAnyStepLeavesTheOldScheduleWhole) {
  TempFolder folder;
  const std::string path = folder.Write("SimoDump.LST", "old\r\n");
  for (long step = 1;; ++step) {
    SCOPED_TRACE(step);
    FaultInjection::Arm(step, ENOSPC);
    try {
      WriteSimoDump(path, {"new 1", "new 2"});
      FaultInjection::Disarm();
      break;
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), "Disk full: " + path);
      EXPECT_EQ(folder.Read("SimoDump.LST"), "old\r\n");
      EXPECT_FALSE(folder.Exists("SimoDump.LST.~new"));
    }
    ASSERT_LT(step, 20);
  }
  EXPECT_EQ(folder.Read("SimoDump.LST"), "new 1\r\nnew 2\r\n");
}

TEST(PrintSimoPages, SpacesLinesInGroupsOfFourUnderTheDateHeading) {
  // Page height 6600, 32 lines: pitch 15 x 6600 / (17 x 32) = 181.98 -> 181, gap 45,
  // first line at 45 / 2 + 325 = 347.
  RecordingCanvas canvas(5100, 6600);
  const std::vector<std::string> lines = ScheduleLines(30);
  PrintSimoPages(canvas, lines, SimoPlan{32, SimoPageKind::OnePage}, "Tuesday, July 12, 2016", false);
  const auto& calls = canvas.Calls();
  ASSERT_GE(calls.size(), 5u);
  EXPECT_EQ(calls[0].kind, Kind::Begin);
  EXPECT_EQ(calls[1].kind, Kind::Font);
  EXPECT_EQ(calls[1].text, "Courier New bold");
  EXPECT_EQ(calls[1].x, 18);
  EXPECT_EQ(calls[2].kind, Kind::Text);
  EXPECT_EQ(calls[2].text, "Tuesday, July 12, 2016");
  EXPECT_EQ(calls[2].x, 525);
  EXPECT_EQ(calls[2].y, 75);
  EXPECT_EQ(calls[3].kind, Kind::Font);
  EXPECT_EQ(calls[3].x, 12);
  EXPECT_EQ(calls.back().kind, Kind::End);
  EXPECT_EQ(canvas.Count(Kind::Orientation), 0) << "the printer's orientation applies";

  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 31u);
  struct Expected {
    int line;  // from 0
    int y;
  };
  const Expected expected[] = {{0, 347}, {1, 528}, {3, 890}, {4, 1116}, {8, 1885}, {29, 347 + 29 * 181 + 7 * 45}};
  for (const Expected& e : expected) {
    EXPECT_EQ(texts[static_cast<std::size_t>(e.line + 1)].x, 0);
    EXPECT_EQ(texts[static_cast<std::size_t>(e.line + 1)].y, e.y) << "line " << e.line;
  }
  EXPECT_EQ(texts[1].text, ScheduleLine(1, "Kee"));  // its first eight columns are blanks
}

TEST(PrintSimoPages, PrintsEightBlanksAndColumnsNineToForty) {
  struct Case {
    std::string line;
    std::string printed;
  };
  const Case cases[] = {
      {ScheduleLine(7, "GPx") + "extra", ScheduleLine(7, "GPx")},
      {"12345678 1:01", "         1:01"},
      {"short", "        "},
      {"", "        "},
  };
  for (const Case& c : cases) {
    RecordingCanvas canvas(5100, 6600);
    PrintSimoPages(canvas, {c.line}, SimoPlan{32, SimoPageKind::OnePage}, "Race Date", false);
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, c.printed) << c.line;
  }
}

TEST(PrintSimoPages, TwoUpPutsTheSecondHalfOnTheRightOfTheSameSheet) {
  // 65 lines, 36 a page: pitch 15 x 6600 / (17 x 36) = 161.76 -> 161, gap 40, first y 345.
  const std::vector<std::string> lines = ScheduleLines(65);
  const SimoPlan plan = PlanSimoPages(32, 64, lines.size());
  ASSERT_EQ(plan.linesPerPage, 36);
  struct Case {
    bool twoUp;
    int sheets;
    int secondHalfX;
  };
  const Case cases[] = {{true, 1, 2550}, {false, 2, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.twoUp);
    RecordingCanvas canvas(5100, 6600);
    PrintSimoPages(canvas, lines, plan, "Race Date", c.twoUp);
    const auto sheets = canvas.Sheets();
    ASSERT_EQ(sheets.size(), static_cast<std::size_t>(c.sheets));
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 67u);  // two headings
    EXPECT_EQ(texts[37].text, "Race Date");
    EXPECT_EQ(texts[37].x, c.secondHalfX + 525);
    EXPECT_EQ(texts[37].y, 75);
    EXPECT_EQ(texts[38].x, c.secondHalfX);
    EXPECT_EQ(texts[38].y, 345);
    EXPECT_EQ(texts[1].y, 345);
    EXPECT_EQ(texts[5].y, 345 + 4 * 161 + 40);
  }
}

TEST(PrintSimoPages, TwoUpIsIgnoredWhenMoreThanTwoPagesAreNeeded) {
  const std::vector<std::string> lines = ScheduleLines(129);
  const SimoPlan plan = PlanSimoPages(32, 64, lines.size());
  RecordingCanvas canvas(5100, 6600);
  PrintSimoPages(canvas, lines, plan, "Race Date", true);
  const auto sheets = canvas.Sheets();
  ASSERT_EQ(sheets.size(), 5u);
  const std::size_t perSheet[] = {33, 33, 33, 33, 2};  // heading and lines
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(sheets[i].size(), perSheet[i]) << "sheet " << i;
    EXPECT_EQ(sheets[i][0].x, 525);
  }
}

TEST(PrintSimoPages, NoLinesPrintNothing) {
  RecordingCanvas canvas(5100, 6600);
  PrintSimoPages(canvas, {}, SimoPlan{32, SimoPageKind::OnePage}, "Race Date", true);
  EXPECT_TRUE(canvas.Calls().empty());
}

TEST(PrintSimoPages, CanvasFailureAbortsTheDocument) {
  RecordingCanvas canvas(5100, 6600);
  canvas.FailText(5);
  EXPECT_THROW(PrintSimoPages(canvas, ScheduleLines(10), SimoPlan{32, SimoPageKind::OnePage}, "Race Date", false),
               std::runtime_error);
  EXPECT_EQ(canvas.Count(Kind::Abort), 1);
  EXPECT_FALSE(canvas.DocumentOpen());
}

}  // namespace
