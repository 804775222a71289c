#include "pcl/pcl_reader.h"

#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "pcl/pcl_compose.h"

namespace {

using Kind = PclCommandKind;

std::vector<Kind> KindsOf(const ParsedPclJob& job) {
  std::vector<Kind> kinds;
  for (const PclCommand& command : job.commands) kinds.push_back(command.kind);
  return kinds;
}

TEST(ParsePclJob, CombinedSequencesGiveEveryParameter) {
  const ParsedPclJob job = ParsePclJob(
      "\x1B&l0o3a1S"
      "\x1B(s0p12.00h10.00v0s2b0T"
      "\x1B(10U"
      "x");
  EXPECT_EQ(KindsOf(job), (std::vector<Kind>{Kind::Orientation, Kind::PageSize, Kind::Duplex, Kind::FontSpacing,
                                             Kind::FontPitch, Kind::FontHeight, Kind::FontStyle, Kind::FontWeight,
                                             Kind::FontTypeface, Kind::SymbolSet, Kind::Text}));
  EXPECT_EQ(job.commands[0].value, 0);
  EXPECT_EQ(job.commands[1].value, 3);
  EXPECT_EQ(job.commands[1].parameter, 'A');
  EXPECT_EQ(job.commands[2].value, 1);
  EXPECT_EQ(job.unknownCommands + job.malformedCommands, 0);
  ASSERT_EQ(job.runs.size(), 1u);
  const PclFontState& font = job.runs[0].font;
  EXPECT_EQ(font.spacing, 0);
  EXPECT_EQ(font.pitch, 12);
  EXPECT_EQ(font.height, 10);
  EXPECT_EQ(font.weight, 2);
  EXPECT_EQ(font.symbolSet, "10U");

  // A reset forgets the font.
  const ParsedPclJob afterReset = ParsePclJob(
      "\x1B(s1p14v3B\x1B(10U\x1B"
      "Ey");
  ASSERT_EQ(afterReset.runs.size(), 1u);
  EXPECT_EQ(afterReset.runs[0].font, PclFontState{});
}

// Positions worked out by hand; pitch 12 gives columns of 60 decipoints.
TEST(ParsePclJob, CursorMovesAndTextRunsLandWhereThePrinterPutsThem) {
  const ParsedPclJob job = ParsePclJob(
      "\x1B(s0p12h10V"
      "\x1B&a090v0540H"
      "AB"  // at (540, 90); the cursor moves to 660
      "\x1B&a+30v+60H"
      "C"  // at (720, 120)
      "\x1B&a-20v-700H"
      "D"  // at (80, 100)
      "\x1B&a2r3C"
      "E"      // rows of 120, columns of 60: at (180, 240)
      "\r\nF"  // carriage return and line feed: at (0, 360)
      "\fG");  // next sheet, top left
  struct Expected {
    const char* bytes;
    double x;
    double y;
    int sheet;
  };
  const Expected expected[] = {
      {"AB", 540, 90, 0}, {"C", 720, 120, 0}, {"D", 80, 100, 0}, {"E", 180, 240, 0}, {"F", 0, 360, 0}, {"G", 0, 0, 1},
  };
  ASSERT_EQ(job.runs.size(), std::size(expected));
  for (std::size_t i = 0; i < job.runs.size(); ++i) {
    SCOPED_TRACE(expected[i].bytes);
    EXPECT_EQ(job.runs[i].bytes, expected[i].bytes);
    EXPECT_EQ(job.runs[i].x, expected[i].x);
    EXPECT_EQ(job.runs[i].y, expected[i].y);
    EXPECT_EQ(job.runs[i].sheet, expected[i].sheet);
  }
  EXPECT_EQ(job.sheetsEjected, 1);
  const PclCommand& relative = job.commands[6];
  EXPECT_EQ(relative.kind, Kind::VerticalPosition);
  EXPECT_TRUE(relative.relative);
  EXPECT_EQ(relative.value, 30);
  EXPECT_EQ(job.commands[10].value, -700);
  EXPECT_EQ(job.commands[10].parameter, 'H');
}

TEST(ParsePclJob, ControlCodesOtherThanCommandsStayInTheText) {
  const ParsedPclJob job = ParsePclJob(
      "a\x02\t\x1A\xC4"
      "b\x0E"
      "c\x0F");
  EXPECT_EQ(KindsOf(job), (std::vector<Kind>{Kind::Text, Kind::ShiftOut, Kind::Text, Kind::ShiftIn}));
  EXPECT_EQ(job.runs[0].bytes,
            "a\x02\t\x1A\xC4"
            "b");
}

TEST(ParsePclJob, UnknownAndMalformedCommandsAreCountedAndSkipped) {
  struct Case {
    const char* name;
    std::string job;
    int unknown;
    int malformed;
    std::vector<std::string> runs;
  };
  const Case cases[] = {
      {"two-character command",
       "a\x1B"
       "9b",
       1,
       0,
       {"a", "b"}},
      {"unknown parameter", "\x1B&l6Dx", 1, 0, {"x"}},
      {"unknown beside a known parameter", "\x1B&l0o6Dx", 1, 0, {"x"}},
      {"unknown group", "\x1B*p100x200Yx", 2, 0, {"x"}},
      {"data after a W command is skipped", "\x1B(s3Wabcx", 1, 0, {"x"}},
      {"transparent data is skipped",
       "\x1B&p2X\x1B"
       "Ex",
       1,
       0,
       {"x"}},
      {"data longer than the job", "\x1B*b900Wab", 1, 0, {}},
      {"lone escape",
       "a\x1B\x01"
       "b",
       0,
       1,
       {"a",
        "\x01"
        "b"}},
      {"broken off by a control code", "\x1B&a90\x02x", 0, 1, {"\x02x"}},
      {"broken off by another escape",
       "\x1B&l1\x1B"
       "Ex",
       0,
       1,
       {"x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParsedPclJob job = ParsePclJob(c.job);
    EXPECT_EQ(job.unknownCommands, c.unknown);
    EXPECT_EQ(job.malformedCommands, c.malformed);
    std::vector<std::string> runs;
    for (const PclTextRun& run : job.runs) runs.push_back(run.bytes);
    EXPECT_EQ(runs, c.runs);
  }
}

TEST(ParsePclJob, ValuesAreHeldWithinRange) {
  const ParsedPclJob job = ParsePclJob("\x1B&a-99999999999999999999999999999V\x1B(99999999999999U");
  ASSERT_EQ(job.commands.size(), 2u);
  EXPECT_EQ(job.commands[0].value, -32767.9999);
  EXPECT_EQ(job.commands[1].value, 32767.9999);
  EXPECT_EQ(job.unknownCommands + job.malformedCommands, 0);
}

TEST(ParsePclJob, TruncatedJobEndsCleanly) {
  struct Case {
    std::string job;
    std::vector<Kind> kinds;
  };
  const Case cases[] = {
      {"x\x1B", {Kind::Text}},
      {"\x1B&", {}},
      {"\x1B(s", {}},
      {"\x1B&a09", {}},
      {"\x1B&a090v", {Kind::VerticalPosition}},
      {"\x1B&l0o3", {Kind::Orientation}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.job.substr(1));
    const ParsedPclJob job = ParsePclJob(c.job);
    EXPECT_TRUE(job.truncated);
    EXPECT_EQ(job.malformedCommands, 1);
    EXPECT_EQ(KindsOf(job), c.kinds);
  }
  EXPECT_FALSE(ParsePclJob("\x1B"
                           "E")
                   .truncated);
}

// Every prefix of a real job and random bytes parse without a fault; the text of a
// prefix is a prefix of the whole job's text.
TEST(ParsePclJob, AnyBytesParseWithoutFault) {
  const std::string print = "AB\r\n\r\nC\x02\xC4\r\n\fD\r\n\f";
  const std::string job = ComposePclJob(print, 'G', true, false);
  std::string wholeText;
  for (const PclTextRun& run : ParsePclJob(job).runs) wholeText += run.bytes;
  for (std::size_t length = 0; length <= job.size(); ++length) {
    std::string text;
    for (const PclTextRun& run : ParsePclJob(job.substr(0, length)).runs) text += run.bytes;
    EXPECT_EQ(wholeText.substr(0, text.size()), text) << length;
  }

  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255);
  const char favoured[] = {'\x1B', '&', '(', 'l', 'a', 's', '0', '9', '-', '.', 'W', 'X', 'V'};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    const int length = byte(random) % 64;
    for (int i = 0; i < length; ++i) {
      const int pick = byte(random);
      bytes += pick < 128 ? favoured[static_cast<std::size_t>(pick) % sizeof favoured] : static_cast<char>(pick);
    }
    std::size_t textBytes = 0;
    for (const PclTextRun& run : ParsePclJob(bytes).runs) textBytes += run.bytes.size();
    EXPECT_LE(textBytes, bytes.size());
  }
}

}  // namespace
