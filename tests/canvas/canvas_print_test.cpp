#include "canvas/canvas_print.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "support/recording_canvas.h"
#include "support/temp_folder.h"

namespace {

using Kind = RecordingCanvas::Kind;

// Pages of the print file `bytes`, as the reader hands them out.
std::vector<std::vector<std::string>> PagesOf(const std::string& bytes) {
  TempFolder folder;
  InputFile file(folder.Write("pages.prn", bytes));
  PrintFileReader reader(file);
  std::vector<std::vector<std::string>> pages;
  std::vector<std::string> page;
  while (reader.BytesLeft()) {
    reader.ReadPrintPage(page);
    pages.push_back(page);
  }
  return pages;
}

// `count` lines of text ended by CR LF, every second one blank from the second on, so
// every text line is a one-line block.
std::string AlternatingLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i % 2 == 0 ? "x\r\n" : "\r\n");
  return text;
}

// A block of `count` lines "<tag><number>", each ended by CR LF.
std::string BlockText(const std::string& tag, int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += tag + std::to_string(i) + "\r\n";
  return text;
}

std::string BlankLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\r\n";
  return text;
}

class CanvasPrintTest : public ::testing::Test {
 protected:
  CanvasPrintTest() { FaultInjection::Disarm(); }
  ~CanvasPrintTest() override { FaultInjection::Disarm(); }

  // Prints `bytes` as "Vantrose.PRN" in `mode` on `canvas`; returns the legal flag
  // (started as `legalBefore`).
  bool Print(const std::string& bytes, char mode, RecordingCanvas& canvas, bool legalBefore = false) {
    folder.Write("Vantrose.PRN", bytes);
    bool legal = legalBefore;
    CanvasPrintFile(folder.Path(), "Vantrose.PRN", mode, canvas, legal);
    return legal;
  }

  TempFolder folder;
};

TEST(PrintHighCharTable, TranslatesHighBytesAndKeepsLowOnes) {
  struct Case {
    int byte;
    char printed;
  };
  const Case cases[] = {
      {200, '+'}, {205, '-'}, {186, '|'}, {219, '*'}, {174, '<'}, {175, '>'}, {176, '_'}, {177, '*'}, {178, '#'},
      {179, '|'}, {182, '|'}, {183, '+'}, {184, '+'}, {185, '|'}, {187, '+'}, {194, '+'}, {195, '|'}, {196, '-'},
      {197, '+'}, {198, '|'}, {199, '|'}, {203, '+'}, {204, '|'}, {206, '+'}, {218, '+'}, {223, '*'}, {128, ' '},
      {173, ' '}, {224, ' '}, {255, ' '}, {'A', 'A'}, {127, 127}, {9, 9},     {0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PrintHighCharTable(static_cast<unsigned char>(c.byte)), c.printed) << "byte " << c.byte;
}

TEST(PrintFileReader, CutsLinesAndPagesAtTheirMarks) {
  using Pages = std::vector<std::vector<std::string>>;
  struct Case {
    const char* name;
    std::string bytes;
    Pages pages;
  };
  const Case cases[] = {
      {"line feeds are dropped; the last one leaves an empty line", "a\r\nb\r\n", {{"a", "b", ""}}},
      {"a line without its end is kept", "a\rb", {{"a", "b"}}},
      {"form feed mid-line drops the text before it",
       "x\r\nab\x0c"
       "cd\r",
       {{"x"}, {"cd"}}},
      {"byte 2 ends the page like a form feed",
       "a\rb\x02"
       "c\r",
       {{"a"}, {"c"}}},
      {"a form feed alone ends an empty page", "\x0c", {{}}},
      {"high bytes are translated", "\xC8\xCD\xBA\xDB\xAE\xE0\r", {{"+-|*< "}}},
      {"no bytes, no page", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(PagesOf(c.bytes), c.pages) << c.name;
}

TEST(PrintFileReader, CutsLinesAt80AndPagesAt480) {
  const std::string longLine(85, 'x');
  std::string bytes = longLine + "\r";
  for (int i = 1; i < 485; ++i) bytes += "L" + std::to_string(i) + "\r";
  bytes += "\x0cz\r";
  const auto pages = PagesOf(bytes);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 480u);
  EXPECT_EQ(pages[0][0], std::string(80, 'x'));
  EXPECT_EQ(pages[0][479], "L479");
  EXPECT_EQ(pages[1], std::vector<std::string>{"z"});
}

TEST(PrintFileReader, ReadsPagesLongerThanOneReadBlock) {
  // A page of 3000 lines "ab" crosses several blocks of the file.
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += "ab\r\n";
  bytes += "\x0cq\r";
  const auto pages = PagesOf(bytes);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].size(), 480u);
  EXPECT_EQ(pages[0][479], "ab");
  EXPECT_EQ(pages[1], std::vector<std::string>{"q"});
}

TEST(IsLegalPage, LongSideOverThirtyFiveTwentyFourthsIsLegal) {
  struct Case {
    int width;
    int height;
    bool legal;
  };
  const Case cases[] = {
      {5100, 6600, false},                       // 11 : 8.5
      {6600, 5100, false}, {5100, 8400, true},   // 14 : 8.5
      {8400, 5100, true},  {2400, 3500, false},  // exactly 35 : 24
      {2400, 3501, true},  {0, 6600, false},     // no printable area
  };
  for (const Case& c : cases) EXPECT_EQ(IsLegalPage(c.width, c.height), c.legal) << c.width << " x " << c.height;
}

TEST(MakePrintArea, ScalesTheGridOverThePrintableArea) {
  const PrintArea portrait = MakePrintArea(PageOrientation::Portrait, 4800, 6360);
  EXPECT_EQ(portrait.usedWidth, 4500);
  EXPECT_EQ(portrait.usedHeight, 6057);
  EXPECT_EQ(CanvasX(portrait, 765), 637);  // 637.5 cut
  EXPECT_EQ(CanvasY(portrait, 90), 75);    // 75.71 cut

  const PrintArea landscape = MakePrintArea(PageOrientation::Landscape, 6360, 4800);
  EXPECT_EQ(landscape.usedWidth, 6057);
  EXPECT_EQ(landscape.usedHeight, 4500);
  EXPECT_EQ(CanvasX(landscape, 180), 151);    // 151.43
  EXPECT_EQ(CanvasX(landscape, 4050), 3407);  // 3407.06
  EXPECT_EQ(CanvasY(landscape, 90), 75);

  // 20/21 of a multiple of 21 is exact.
  EXPECT_EQ(MakePrintArea(PageOrientation::Portrait, 16, 2100).usedHeight, 2000);
}

TEST(MakePrintArea, UsedSizeBeyond16BitsIsHeldAtTheLimitNotWrapped) {
  // 80000 x 15/16 = 75000 would wrap to 9464 in 16 bits and squeeze the text into a corner.
  const PrintArea area = MakePrintArea(PageOrientation::Portrait, 80000, 80000);
  EXPECT_EQ(area.usedWidth, 65535);
  EXPECT_EQ(area.usedHeight, 65535);
}

TEST(LinePitch, RoundsToNearestWithHalvesToEven) {
  struct Case {
    int usedHeight;
    int pieceHeight;
    int pitch;
  };
  const Case cases[] = {
      {6057, 30, 202}, {6057, 120, 50}, {6057, 1, 6057}, {6050, 20, 302},
      {6070, 20, 304}, {101, 2, 50},    {103, 2, 52},    {100, 3, 33},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LinePitch(static_cast<std::uint16_t>(c.usedHeight), c.pieceHeight), c.pitch)
        << c.usedHeight << " / " << c.pieceHeight;
}

TEST_F(CanvasPrintTest, ModeLetterChoosesOrientationAndFont) {
  struct Case {
    char mode;
    int landscape;
    int pointSize;
  };
  const Case cases[] = {{'J', 0, 9}, {'I', 0, 9}, {'H', 0, 7}, {'G', 1, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    RecordingCanvas canvas(4800, 6360);
    Print("a\r\nb\r\n", c.mode, canvas);
    const auto& calls = canvas.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, Kind::Orientation);
    EXPECT_EQ(calls[0].x, c.landscape);
    EXPECT_EQ(calls[1].kind, Kind::Begin);
    EXPECT_EQ(calls[2].kind, Kind::Font);
    EXPECT_EQ(calls[2].text, "Courier New bold");
    EXPECT_EQ(calls[2].x, c.pointSize);
    EXPECT_EQ(calls.back().kind, Kind::End);
    EXPECT_EQ(canvas.Count(Kind::Font), 1) << "the font stays for the whole job";
  }
}

TEST_F(CanvasPrintTest, OtherModeLettersPrintNothing) {
  for (const char mode : {'F', 'K', 'j', '\0'}) {
    RecordingCanvas canvas(4800, 6360);
    EXPECT_TRUE(Print("a\r\nb\r\n", mode, canvas, true)) << "the legal flag is left alone";
    EXPECT_TRUE(canvas.Calls().empty()) << mode;
  }
}

TEST_F(CanvasPrintTest, PortraitTextStartsAtTheScaledOriginWithCappedPitch) {
  // 4800 x 6360: W' 4500, H' 6057. Two lines: pitch 3028.5 -> 3028, drawn as 120.
  RecordingCanvas canvas(4800, 6360);
  Print("A\r\nB\r\n", 'J', canvas);
  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].x, 637);
  EXPECT_EQ(texts[0].y, 75);
  EXPECT_EQ(texts[0].text, "A");
  EXPECT_EQ(texts[1].x, 637);
  EXPECT_EQ(texts[1].y, 195);
}

TEST_F(CanvasPrintTest, LinePitchFollowsPieceHeightUpTo120) {
  struct Case {
    int lines;
    int advance;
  };
  // H' 6057: 30 lines -> 202, capped to 120; 120 lines -> 50.
  const Case cases[] = {{30, 120}, {120, 50}};
  for (const Case& c : cases) {
    RecordingCanvas canvas(4800, 6360);
    Print(BlockText("r", c.lines) + "\x0c", 'H', canvas);  // 7 pt: up to 120 lines in one piece
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(c.lines));
    EXPECT_EQ(texts[1].y - texts[0].y, c.advance);
    EXPECT_EQ(texts.back().y, 75 + (c.lines - 1) * c.advance);
  }
}

TEST_F(CanvasPrintTest, PieceCountStepsAtEachModesThresholds) {
  struct Case {
    char mode;
    int lines;
    int sheets;
  };
  const Case cases[] = {
      {'J', 90, 1},  {'J', 91, 2},  {'J', 271, 4}, {'J', 480, 4}, {'I', 91, 2},  {'H', 120, 1}, {'H', 121, 2},
      {'H', 241, 3}, {'H', 361, 4}, {'G', 90, 1},  {'G', 91, 1},  {'G', 181, 2}, {'G', 271, 2},  // landscape: two
                                                                                                 // pieces a sheet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.mode) + " " + std::to_string(c.lines));
    RecordingCanvas canvas(4800, 6360);
    Print(AlternatingLines(c.lines) + "\x0c", c.mode, canvas);  // the form feed keeps the count exact
    EXPECT_EQ(canvas.Sheets().size(), static_cast<std::size_t>(c.sheets));
    EXPECT_EQ(canvas.Texts().size(), static_cast<std::size_t>((c.lines + 1) / 2));
  }
}

TEST_F(CanvasPrintTest, BalancedPiecesGoOnSheetsWithABlankLineBetweenBlocks) {
  // Blocks of 10, 10 and 30 lines padded with blank lines to 91 lines: two pieces,
  // {1, 2} of height 21 and {3} of 30, both with pitch capped at 120.
  const std::string page =
      BlockText("a", 10) + "\r\n" + BlockText("b", 10) + "\r\n" + BlockText("c", 30) + BlankLines(39);
  RecordingCanvas canvas(4800, 6360);
  Print(page, 'J', canvas);
  const auto sheets = canvas.Sheets();
  ASSERT_EQ(sheets.size(), 2u);
  ASSERT_EQ(sheets[0].size(), 20u);
  EXPECT_EQ(sheets[0][9].text, "a10");
  EXPECT_EQ(sheets[0][9].y, 75 + 9 * 120);
  EXPECT_EQ(sheets[0][10].text, "b1");
  EXPECT_EQ(sheets[0][10].y, 75 + 11 * 120);  // one empty line between the blocks
  ASSERT_EQ(sheets[1].size(), 30u);
  EXPECT_EQ(sheets[1][0].text, "c1");
  EXPECT_EQ(sheets[1][0].y, 75);
}

TEST_F(CanvasPrintTest, LandscapeWithThreePiecesTakesTwoSheets) {
  // 5842 x 7560 portrait (11 : 8.5): landscape W' 7200, H' 5476; columns at 180 and
  // 4050 unscaled, top at 91. Three blocks of 30 lines padded to 181 lines: k = 3.
  const std::string page =
      BlockText("p", 30) + "\r\n" + BlockText("q", 30) + "\r\n" + BlockText("r", 30) + BlankLines(89);
  RecordingCanvas canvas(5842, 7560);
  EXPECT_FALSE(Print(page, 'G', canvas, true));
  const auto sheets = canvas.Sheets();
  ASSERT_EQ(sheets.size(), 2u);
  ASSERT_EQ(sheets[0].size(), 60u);
  EXPECT_EQ(sheets[0][0].text, "p1");
  EXPECT_EQ(sheets[0][0].x, 180);
  EXPECT_EQ(sheets[0][0].y, 91);
  EXPECT_EQ(sheets[0][30].text, "q1");
  EXPECT_EQ(sheets[0][30].x, 4050);
  EXPECT_EQ(sheets[0][30].y, 91);
  ASSERT_EQ(sheets[1].size(), 30u);
  EXPECT_EQ(sheets[1][0].text, "r1");
  EXPECT_EQ(sheets[1][0].x, 180);
  EXPECT_EQ(sheets[1][1].y, 91 + 120);
}

TEST_F(CanvasPrintTest, LegalPaperIsDetectedAndMovesLandscapeColumns) {
  struct Case {
    int portraitWidth;
    int portraitHeight;
    bool legal;
    int leftX;
    int rightX;
  };
  // Landscape W' is 7200 for a 7560-pixel width, so grid x equals canvas x.
  const Case cases[] = {
      {5842, 7560, false, 180, 4050},  // 11 : 8.5
      {4590, 7560, true, 540, 4410},   // 14 : 8.5
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.legal);
    RecordingCanvas canvas(c.portraitWidth, c.portraitHeight);
    const std::string page = BlockText("l", 50) + "\r\n" + BlockText("r", 50);  // 101 lines: k = 2
    EXPECT_EQ(Print(page, 'G', canvas, !c.legal), c.legal);
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 100u);
    EXPECT_EQ(texts[0].x, c.leftX);
    EXPECT_EQ(texts[50].x, c.rightX);
  }
  RecordingCanvas portrait(4590, 7560);
  EXPECT_TRUE(Print("a\r\nb\r\n", 'J', portrait));
}

TEST_F(CanvasPrintTest, FileEndingAfterFormFeedFeedsNoBlankSheet) {
  struct Case {
    const char* name;
    std::string bytes;
    int sheets;
  };
  const Case cases[] = {
      {"form feed last", "a\r\nb\r\n\x0c", 1},
      {"line end after the form feed", "a\r\nb\r\n\x0c\r\n", 1},
      {"blank lines after the last form feed", "a\r\nb\r\n\x0c  \r\n \r\n\r\n", 1},
      {"one-line page between two pages",
       "a\r\nb\r\n\x0c"
       "c\r\x0c"
       "d\r\ne\r\n",
       2},
      {"blank page between two pages",
       "a\r\nb\r\n\x0c\r\n\r\n\r\n\x0c"
       "d\r\ne\r\n",
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas(4800, 6360);
    Print(c.bytes, 'J', canvas);
    EXPECT_EQ(canvas.Sheets().size(), static_cast<std::size_t>(c.sheets));
    EXPECT_EQ(canvas.Count(Kind::End), 1);
    for (const auto& sheet : canvas.Sheets()) EXPECT_FALSE(sheet.empty()) << "a blank sheet";
  }
}

TEST_F(CanvasPrintTest, NothingToPrintBeginsNoDocument) {
  for (const std::string& bytes :
       {std::string(), std::string("\x0c"), std::string("only\r"), std::string("  \r\n\t\r\n \r\n")}) {
    RecordingCanvas canvas(4800, 6360);
    Print(bytes, 'J', canvas);
    EXPECT_EQ(canvas.Count(Kind::Begin), 0);
    EXPECT_EQ(canvas.Count(Kind::Text), 0);
    EXPECT_EQ(canvas.Count(Kind::Orientation), 1) << "the orientation is still set";
  }
}

TEST_F(CanvasPrintTest, PageWithFewerBlocksThanPiecesPrintsOnePiecePerBlock) {
  // Page 1: blocks of 10, 10, 30 padded to 91 lines (two sheets). Page 2: 150 lines with
  // no blank line, one block for a piece count of 2: one sheet, nothing of page 1.
  const std::string page1 =
      BlockText("a", 10) + "\r\n" + BlockText("b", 10) + "\r\n" + BlockText("c", 30) + BlankLines(39);
  const std::string page2 = BlockText("z", 150);
  RecordingCanvas canvas(4800, 6360);
  Print(page1 + "\x0c" + page2, 'J', canvas);
  const auto sheets = canvas.Sheets();
  ASSERT_EQ(sheets.size(), 3u);
  ASSERT_EQ(sheets[2].size(), 150u);
  EXPECT_EQ(sheets[2][0].text, "z1");
  EXPECT_EQ(sheets[2][149].text, "z150");
  // 6057 / 150 = 40.38 -> 40.
  EXPECT_EQ(sheets[2][1].y - sheets[2][0].y, 40);
}

TEST_F(CanvasPrintTest, ManyBlocksAndLongBlocksArePrintedWhole) {
  // 40 one-line blocks, then a block of 200 lines: 280 lines, k = 4 in 9 pt.
  std::string page = AlternatingLines(80) + BlockText("w", 200);
  RecordingCanvas canvas(4800, 6360);
  Print(page, 'J', canvas);
  const auto texts = canvas.Texts();
  ASSERT_EQ(texts.size(), 240u);
  EXPECT_EQ(texts.back().text, "w200");
}

TEST_F(CanvasPrintTest, MissingFileRaisesBeforeAnythingReachesThePrinter) {
  RecordingCanvas canvas(4800, 6360);
  bool legal = true;
  try {
    CanvasPrintFile(folder.Path(), "Vantrose.PRN", 'J', canvas, legal);
    ADD_FAILURE() << "no error";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "File not found: " + folder.Path() + "Vantrose.PRN");
  }
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_TRUE(legal);
}

TEST_F(CanvasPrintTest, ReadFailurePartWayAbortsTheJobAndRaises) {
  // The first page is drawn from the first read block; the second read fails.
  std::string bytes = "a\r\nb\r\n\x0c";
  while (bytes.size() < 10000) bytes += "more text\r\n";
  folder.Write("Vantrose.PRN", bytes);
  RecordingCanvas canvas(4800, 6360);
  bool legal = false;
  FaultInjection::Arm(3, EIO);  // open, first read, second read
  try {
    CanvasPrintFile(folder.Path(), "Vantrose.PRN", 'J', canvas, legal);
    ADD_FAILURE() << "no error";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "I/O error 5: " + folder.Path() + "Vantrose.PRN");
  }
  EXPECT_EQ(canvas.Count(Kind::Text), 2);
  EXPECT_EQ(canvas.Count(Kind::Abort), 1);
  EXPECT_EQ(canvas.Count(Kind::End), 0);
  EXPECT_FALSE(canvas.DocumentOpen());
}

TEST_F(CanvasPrintTest, OnlyTheFirst127CharactersOfTheNameAreUsed) {
  const std::string name(127, 'n');
  folder.Write(name, "a\r\nb\r\n");
  RecordingCanvas canvas(4800, 6360);
  bool legal = false;
  CanvasPrintFile(folder.Path(), name + "XYZ", 'J', canvas, legal);
  EXPECT_EQ(canvas.Count(Kind::Text), 2);
}

}  // namespace
