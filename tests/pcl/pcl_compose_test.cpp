#include "pcl/pcl_compose.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "pcl/pcl_reader.h"
#include "pcl/print_text_fixtures.h"
#include "support/error_text.h"
#include "support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

using print_text_fixtures::BlockLines;
using print_text_fixtures::PageText;

// `count` lines alternating "x" and blank: blocks of one line.
Lines AlternatingLines(int count) {
  Lines lines;
  for (int i = 0; i < count; ++i) lines.push_back(i % 2 == 0 ? "x" : "");
  return lines;
}

// `count` lines in blocks of nine with a blank line after each: enough blocks for
// any piece count from 40 lines on.
Lines NineLineBlocks(int count) {
  Lines lines;
  for (int i = 0; i < count; ++i) lines.push_back(i % 10 == 9 ? "" : "x" + std::to_string(i));
  return lines;
}

// A readable outline of a job: commands by name, a positioned line with text as
// "line", a position without text as "blank", repeats as "*n".
std::string Outline(const ParsedPclJob& job) {
  std::vector<std::string> tokens;
  const auto& commands = job.commands;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const PclCommand& c = commands[i];
    const auto value = std::to_string(static_cast<int>(c.value));
    switch (c.kind) {
      case PclCommandKind::Reset:
        tokens.push_back("reset");
        break;
      case PclCommandKind::Orientation:
        tokens.push_back("orient" + value);
        break;
      case PclCommandKind::PageSize:
        tokens.push_back("size" + value);
        break;
      case PclCommandKind::Duplex:
        tokens.push_back("duplex" + value);
        break;
      case PclCommandKind::SymbolSet:
        tokens.push_back("symbols" + value + c.parameter);
        break;
      case PclCommandKind::FontSpacing:
      case PclCommandKind::FontPitch:
      case PclCommandKind::FontHeight:
      case PclCommandKind::FontStyle:
      case PclCommandKind::FontWeight:
      case PclCommandKind::FontTypeface:
        if (tokens.empty() || tokens.back() != "font") tokens.push_back("font");
        break;
      case PclCommandKind::VerticalPosition:
        if (i + 1 < commands.size() && commands[i + 1].kind == PclCommandKind::HorizontalPosition) {
          const bool withText = i + 2 < commands.size() && commands[i + 2].kind == PclCommandKind::Text;
          tokens.push_back(withText ? "line" : "blank");
          i += withText ? 2 : 1;
        } else {
          tokens.push_back("vertical");
        }
        break;
      case PclCommandKind::PageEject:
        tokens.push_back("eject");
        break;
      default:
        tokens.push_back("other");
        break;
    }
  }
  std::string outline;
  for (std::size_t i = 0; i < tokens.size();) {
    std::size_t end = i;
    while (end < tokens.size() && tokens[end] == tokens[i]) ++end;
    if (!outline.empty()) outline += ' ';
    outline += tokens[i];
    if (end - i > 1) outline += "*" + std::to_string(end - i);
    i = end;
  }
  return outline;
}

ParsedPclJob Parsed(const std::string& printText, char letter, bool legal = false, bool duplex = false) {
  const ParsedPclJob job = ParsePclJob(ComposePclJob(printText, letter, legal, duplex));
  EXPECT_EQ(job.unknownCommands, 0);
  EXPECT_EQ(job.malformedCommands, 0);
  return job;
}

// Pieces of a job: every piece's first line stands at y 90.
int PieceCountOf(const ParsedPclJob& job) {
  int pieces = 0;
  for (const PclTextRun& run : job.runs) pieces += run.y == 90 ? 1 : 0;
  return pieces;
}

// Checks that the runs from `first` on are the lines of one piece: at `x`, from y 90
// down by `step`, with a blank line (no run) wherever `texts` holds "".
void ExpectPiece(const ParsedPclJob& job, std::size_t& first, const Lines& texts, double x, int step, int sheet) {
  int y = 90;
  for (const std::string& text : texts) {
    if (!text.empty()) {
      ASSERT_LT(first, job.runs.size());
      const PclTextRun& run = job.runs[first++];
      EXPECT_EQ(run.bytes, text);
      EXPECT_EQ(run.x, x) << text;
      EXPECT_EQ(run.y, y) << text;
      EXPECT_EQ(run.sheet, sheet) << text;
    }
    y += step;
  }
}

Lines Slice(const Lines& lines, std::size_t first, std::size_t count) {
  return Lines(lines.begin() + static_cast<std::ptrdiff_t>(first),
               lines.begin() + static_cast<std::ptrdiff_t>(first + count));
}

// ---- Reading the print file ----

std::vector<Lines> PagesOf(std::string_view bytes) {
  PclPrintReader reader(bytes);
  std::vector<Lines> pages;
  Lines lines;
  while (!reader.AtEnd()) {
    reader.ReadPclPage(lines);
    pages.push_back(lines);
  }
  return pages;
}

TEST(PclPrintReader, LinesAndPagesEndOnlyAtReturnAndFormFeed) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<Lines> pages;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"form feed at the end gives no extra page", "a\r\nb\r\n\f", {{"a", "b"}}},
      {"a last line break gives one more empty line", "a\r\nb\r\n", {{"a", "b", ""}}},
      {"no line end at all", "abc", {{"abc"}}},
      {"two pages", "a\r\n\fb\r\n\f", {{"a"}, {"b"}}},
      {"text before a form feed is lost, after it starts the next page", "a\r\nxy\fz\r\n\f", {{"a"}, {"z"}}},
      {"line feeds are dropped, a lone return ends a line", "a\nb\rc\r\n\f", {{"ab", "c"}}},
      {"control codes and high bytes stay",
       "a\x02"
       "b\t\x1A\xC4\xDB\r\n\f",
       {{"a\x02"
         "b\t\x1A\xC4\xDB"}}},
      {"empty pages", "\f\f", {{}, {}}},
  };
  for (const Case& c : cases) EXPECT_EQ(PagesOf(c.bytes), c.pages) << c.name;
}

TEST(PclPrintReader, CutsLinesAt80AndPagesAt480) {
  const std::string longLine(100, 'w');
  EXPECT_EQ(PagesOf(longLine + "\r\nnext\r\n\f"), (std::vector<Lines>{{std::string(80, 'w'), "next"}}));

  Lines lines;
  for (int i = 1; i <= 481; ++i) lines.push_back(std::to_string(i));
  const std::vector<Lines> pages = PagesOf(PageText(lines) + "after\r\n\f");
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], Slice(lines, 0, 480));
  EXPECT_EQ(pages[1], Lines{"after"});
}

// ---- Layout values ----

TEST(PclLineStep, RoundsHalvesToEvenAndAppliesTheLegalFactor) {
  struct Case {
    int height;
    bool legal;
    int step;
  };
  const Case portrait[] = {
      {60, false, 120}, {69, false, 104}, {20, false, 360},  // the cap is PlacePclLine's
      {64, false, 112},                                      // 112.5
      {320, false, 22},                                      // 22.5
      {192, false, 38},                                      // 37.5
      {112, true, 83},                                       // Round(64 x 1.3) = Round(83.2)
      {288, true, 32},                                       // Round(25 x 1.3) = Round(32.5)
      {480, true, 20},                                       // Round(15 x 1.3) = Round(19.5)
  };
  for (const Case& c : portrait) EXPECT_EQ(PclPortraitLineStep(c.height, c.legal), c.step) << c.height;
  const Case landscape[] = {
      {80, false, 68},   // 67.5
      {48, false, 112},  // 112.5
      {400, false, 14},  // 13.5
      {240, false, 22},  // 22.5
      {60, false, 90},
  };
  for (const Case& c : landscape) EXPECT_EQ(PclLandscapeLineStep(c.height), c.step) << c.height;
}

// ---- Composition ----

// Letter H, 130 lines in blocks of 60, 40 and 28: two sheets, the first at steps of
// Round(7200 / 60) = 120, the second (69 lines) at Round(7200 / 69) = 104.
TEST(PclCompose, WorkedExampleOfTwoPortraitSheets) {
  const Lines lines = BlockLines({60, 40, 28});
  ASSERT_EQ(lines.size(), 130u);
  const ParsedPclJob job = Parsed(PageText(lines), 'H');
  EXPECT_EQ(Outline(job), "reset orient0 font symbols10U line*60 eject line*40 blank line*28 eject reset");
  EXPECT_EQ(job.sheetsEjected, 2);

  std::size_t run = 0;
  ExpectPiece(job, run, Slice(lines, 0, 60), 1080, 120, 0);
  ExpectPiece(job, run, Slice(lines, 61, 69), 1080, 104, 1);
  EXPECT_EQ(run, job.runs.size());
  EXPECT_EQ(job.runs.back().y, 90 + 68 * 104);

  PclFontState font;
  font.spacing = 0;
  font.pitch = 16.67;
  font.height = 8.5;
  font.style = 0;
  font.weight = 2;
  font.typeface = 0;
  font.symbolSet = "10U";
  EXPECT_EQ(job.runs.front().font, font);
}

TEST(PclCompose, SmallPageBytesExactly) {
  // Letter J, blocks "AB" and "C": one piece of height 3, step Round(7200 / 3) capped at 120.
  const std::string job = ComposePclJob("AB\r\n\r\n  \r\nC\r\n\f", 'J', false, false);
  EXPECT_EQ(job,
            "\x1B"
            "E"
            "\x1B&l0O"
            "\x1B(s0p12.00h10.00v0s2b0T"
            "\x1B(10U"
            "\x1B&a090v0540H"
            "AB"
            "\x1B&a0210v0540H"
            "\x1B&a0330v0540H"
            "C"
            "\f"
            "\x1B"
            "E");
}

TEST(PclCompose, PieceCountsAtEveryThreshold) {
  struct Case {
    char letter;
    bool legal;
    int lines;
    int pieces;
  };
  const Case cases[] = {
      {'G', false, 90, 1},  {'G', false, 91, 2},  {'G', false, 181, 3}, {'G', false, 271, 4}, {'G', true, 90, 1},
      {'G', true, 91, 2},   {'H', false, 120, 1}, {'H', false, 121, 2}, {'H', false, 241, 3}, {'H', false, 361, 4},
      {'H', false, 480, 4}, {'H', true, 156, 1},  {'H', true, 157, 2},  {'I', false, 105, 1}, {'I', false, 106, 2},
      {'I', true, 135, 1},  {'I', true, 136, 2},  {'J', false, 90, 1},  {'J', false, 91, 2},  {'J', false, 271, 4},
      {'J', false, 450, 4}, {'J', true, 117, 1},  {'J', true, 118, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.letter) + (c.legal ? " legal " : " letter ") + std::to_string(c.lines));
    const ParsedPclJob job = Parsed(PageText(NineLineBlocks(c.lines)), c.letter, c.legal);
    EXPECT_EQ(PieceCountOf(job), c.pieces);
    const int sheets = c.letter == 'G' ? (c.pieces + 1) / 2 : c.pieces;
    EXPECT_EQ(job.sheetsEjected, sheets);
  }
}

// Letter I uses 105 (legal 135) lines per piece on the first page with lines only,
// 90 (117) on every later page.
TEST(PclCompose, LetterIThresholdIsHigherOnTheFirstPageOnly) {
  struct Case {
    bool legal;
    int lines;
  };
  for (const Case& c : {Case{false, 91}, Case{true, 118}}) {
    SCOPED_TRACE(c.lines);
    const std::string page = PageText(NineLineBlocks(c.lines));
    EXPECT_EQ(PieceCountOf(Parsed(page + page + page, 'I', c.legal)), 1 + 2 + 2);
    // An empty page in front does not use up the first page.
    EXPECT_EQ(PieceCountOf(Parsed("\f" + page + page, 'I', c.legal)), 1 + 2);
    // The other letters keep one threshold.
    EXPECT_EQ(PieceCountOf(Parsed(page + page, 'J', c.legal)), 2 + 2);
  }
}

// A piece of 112 lines: Round(7200 / 112) = 64 on letter paper, Round(64 x 1.3) = 83 on legal.
TEST(PclCompose, LegalPaperStretchesThePortraitStepAndSelectsItsSize) {
  const Lines lines = BlockLines({112});
  const ParsedPclJob letter = Parsed(PageText(lines), 'H', false);
  const ParsedPclJob legal = Parsed(PageText(lines), 'H', true, true);
  EXPECT_EQ(Outline(letter), "reset orient0 font symbols10U line*112 eject reset");
  EXPECT_EQ(Outline(legal), "reset orient0 duplex1 size3 font symbols10U line*112 eject reset");
  std::size_t run = 0;
  ExpectPiece(letter, run, lines, 1080, 64, 0);
  run = 0;
  ExpectPiece(legal, run, lines, 1080, 83, 0);
}

TEST(PclCompose, ShortPiecesKeepSixLinesPerInch) {
  const Lines lines = BlockLines({20});
  std::size_t run = 0;
  ExpectPiece(Parsed(PageText(lines), 'J'), run, lines, 540, 120, 0);
  run = 0;
  ExpectPiece(Parsed(PageText(lines), 'G'), run, lines, 180, 120, 0);
}

// 181 lines in blocks of 59, 60 and 60: three pieces; pieces 1 and 2 side by side on
// the first sheet, piece 3 alone on the left of the second. Steps Round(5400 / 59) = 92
// and Round(5400 / 60) = 90, with no legal factor.
TEST(PclCompose, LandscapeThreePiecesOnTwoSheets) {
  const Lines lines = BlockLines({59, 60, 60});
  ASSERT_EQ(lines.size(), 181u);
  struct Case {
    bool legal;
    const char* outline;
    int leftX;
    int rightX;
  };
  const Case cases[] = {
      {false, "reset orient1 font symbols10U line*119 eject line*60 eject reset", 180, 4050},
      {true, "reset orient1 size3 font symbols10U line*119 eject line*60 eject reset", 720, 5670},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.legal ? "legal" : "letter");
    // Duplex is asked for but has no place in this layout.
    const ParsedPclJob job = Parsed(PageText(lines), 'G', c.legal, true);
    EXPECT_EQ(Outline(job), c.outline);
    std::size_t run = 0;
    ExpectPiece(job, run, Slice(lines, 0, 59), c.leftX, 92, 0);
    ExpectPiece(job, run, Slice(lines, 60, 60), c.rightX, 90, 0);
    ExpectPiece(job, run, Slice(lines, 121, 60), c.leftX, 90, 1);
    EXPECT_EQ(job.runs.back().font.pitch, 16.67);
  }
}

TEST(PclCompose, DuplexOnlyInPortrait) {
  const std::string page = PageText({"x"});
  EXPECT_EQ(Outline(Parsed(page, 'J', false, true)), "reset orient0 duplex1 font symbols10U line eject reset");
  EXPECT_EQ(Outline(Parsed(page, 'G', false, true)), "reset orient1 font symbols10U line eject reset");
}

TEST(PclCompose, PagesWithoutLinesOrBlocksPrintNothing) {
  EXPECT_EQ(ComposePclJob("", 'H', false, false), "");
  EXPECT_EQ(ComposePclJob("\f\f", 'J', false, false), "");
  // Lines, but all blank: no sheet, not even the resets.
  EXPECT_EQ(ComposePclJob("   \r\n\r\n\t\x01\r\n\f", 'G', false, false), "");
  EXPECT_EQ(ComposePclJob("x\r\n\f", 'K', false, false), "") << "unknown mode letter";
}

// Each page is framed by resets and composed from its own lines only: a page after
// a blank page or after a four-piece page prints as it would alone.
TEST(PclCompose, NothingCarriesOverFromAnEarlierPage) {
  const std::string big = PageText(BlockLines({90, 90, 90, 90, 36}));
  const std::string blank = PageText({"", " "});
  const std::string small = PageText(BlockLines({3, 2}));
  for (const char letter : {'G', 'H', 'J'}) {
    SCOPED_TRACE(letter);
    EXPECT_EQ(ComposePclJob(big + blank + small, letter, false, false),
              ComposePclJob(big, letter, false, false) + ComposePclJob(small, letter, false, false));
  }
}

// 130 lines without a blank line under T = 120: one block of more than 127 lines, two
// pieces asked for; the whole block prints on one sheet at Round(7200 / 130) = 55.
TEST(PclCompose, FewerBlocksThanPiecesPrintOnePiecePerBlock) {
  Lines lines;
  for (int i = 1; i <= 130; ++i) lines.push_back("line " + std::to_string(i));
  const ParsedPclJob job = Parsed(PageText(lines), 'H');
  EXPECT_EQ(Outline(job), "reset orient0 font symbols10U line*130 eject reset");
  std::size_t run = 0;
  ExpectPiece(job, run, lines, 1080, 55, 0);

  // Three blocks where four pieces are due (302 lines under T = 90): three sheets.
  const ParsedPclJob three = Parsed(PageText(BlockLines({100, 100, 100})), 'J');
  EXPECT_EQ(Outline(three), "reset orient0 font symbols10U line*100 eject line*100 eject line*100 eject reset");
}

TEST(PclCompose, PagesWithMoreThan31BlocksPrintWhole) {
  // 40 blocks of one line: one piece of 79 lines at Round(7200 / 79) = 91.
  const Lines forty = AlternatingLines(79);
  const ParsedPclJob one = Parsed(PageText(forty), 'H');
  ASSERT_EQ(one.runs.size(), 40u);
  std::size_t run = 0;
  ExpectPiece(one, run, forty, 1080, 91, 0);

  // 60 blocks of three lines (239 lines under T = 90): three pieces, every line printed.
  std::vector<int> sizes(60, 3);
  const ParsedPclJob three = Parsed(PageText(BlockLines(sizes)), 'J');
  EXPECT_EQ(three.runs.size(), 180u);
  EXPECT_EQ(PieceCountOf(three), 3);
}

// The mended fault: report text could carry escape sequences to the printer. ESC, SO and
// SI become blanks; every other byte of the line goes out unchanged.
TEST(PclCompose, ReportTextCannotCommandThePrinter) {
  const std::string line =
      "A\x1B"
      "E\x0E"
      "B\x0F"
      "C\x02\t\xC4\xDB";
  const std::string job = ComposePclJob(line + "\r\n\f", 'J', false, false);
  EXPECT_NE(job.find("\x1B&a090v0540H"
                     "A E B C\x02\t\xC4\xDB"
                     "\f"),
            std::string::npos);
  const ParsedPclJob parsed = Parsed(line + "\r\n\f", 'J');
  EXPECT_EQ(Outline(parsed), "reset orient0 font symbols10U line eject reset");
  ASSERT_EQ(parsed.runs.size(), 1u);
  EXPECT_EQ(parsed.runs[0].bytes, "A E B C\x02\t\xC4\xDB");

  PclStringSink sink;
  PclEmitter emitter(sink);
  PclPen pen{100, 200, 300};
  PlacePclLine(emitter, pen, std::string("\x1B\x0E\x0F\0", 4));
  EXPECT_EQ(sink.Bytes(), std::string("\x1B&a0200v0100H   \0", 17));
  EXPECT_EQ(pen.cursorY, 320);
}

TEST(PclCompose, AnEmptyLineWithNoDataPlacesOnlyTheCursor) {
  // A default view has no data at all; reading it must not reach the C library (the
  // sanitizers stopped on it, found by the fuzzer and the hostile-input table).
  PclStringSink sink;
  PclEmitter emitter(sink);
  PclPen pen{540, 90, 104};
  PlacePclLine(emitter, pen, std::string_view());
  EXPECT_EQ(sink.Bytes(), "\x1B&a090v0540H");
  EXPECT_EQ(pen.cursorY, 194);
}

// ---- The job file ----

class BuildPclJobTest : public ::testing::Test {
 protected:
  BuildPclJobTest() { FaultInjection::Disarm(); }
  ~BuildPclJobTest() override { FaultInjection::Disarm(); }
  TempFolder folder;
};

// Several pages over more than one read block: the file gives the same job as memory.
TEST_F(BuildPclJobTest, FileJobEqualsTheJobComposedInMemory) {
  std::string print;
  for (int page = 0; page < 4; ++page) {
    Lines lines;
    for (int i = 0; i < 300; ++i) lines.push_back(i % 7 == 6 ? "" : std::string(60, static_cast<char>('a' + i % 26)));
    print += PageText(lines);
  }
  ASSERT_GT(print.size(), 16384u * 3);
  const std::string printPath = folder.Write("Vantrose.PRN", print);
  for (const char letter : {'G', 'H', 'I', 'J'}) {
    SCOPED_TRACE(letter);
    BuildPclJob(printPath, folder.Path() + "Vantrose.PCL", letter, true, true);
    EXPECT_EQ(folder.Read("Vantrose.PCL"), ComposePclJob(print, letter, true, true));
  }
}

TEST_F(BuildPclJobTest, EmptyPrintFileGivesAnEmptyJobFile) {
  const std::string printPath = folder.Write("Vantrose.PRN", "");
  folder.Write("Vantrose.PCL", "an old job");
  BuildPclJob(printPath, folder.Path() + "Vantrose.PCL", 'J', false, false);
  ASSERT_TRUE(folder.Exists("Vantrose.PCL"));
  EXPECT_EQ(folder.Read("Vantrose.PCL"), "");
}

TEST_F(BuildPclJobTest, UnknownLetterTouchesNoFile) {
  BuildPclJob(folder.Path() + "missing.PRN", folder.Path() + "Vantrose.PCL", 'F', false, false);
  EXPECT_FALSE(folder.Exists("Vantrose.PCL"));
}

TEST_F(BuildPclJobTest, MissingPrintFileRaisesTheFileError) {
  try {
    BuildPclJob(folder.Path() + "Vantrose.PRN", folder.Path() + "Vantrose.PCL", 'H', false, false);
    ADD_FAILURE() << "no error for a missing print file";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "File not found: " + folder.Path() + "Vantrose.PRN");
  }
  EXPECT_FALSE(folder.Exists("Vantrose.PCL"));
}

TEST_F(BuildPclJobTest, AFailureAtAnyOperationRaisesTheFileError) {
  const std::string printPath = folder.Write("Vantrose.PRN", PageText(BlockLines({50, 50, 50})));
  const std::string expected = ComposePclJob(folder.Read("Vantrose.PRN"), 'H', false, false);
  long failures = 0;
  for (long k = 1; k < 30; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, EIO);
    bool failed = false;
    try {
      BuildPclJob(printPath, folder.Path() + "Vantrose.PCL", 'H', false, false);
    } catch (const IoError& error) {
      failed = true;
      EXPECT_TRUE(NamesOneOf(error.what(), "I/O error 5", {printPath, folder.Path() + "Vantrose.PCL"}));
    }
    FaultInjection::Disarm();
    if (!failed) {
      EXPECT_EQ(folder.Read("Vantrose.PCL"), expected);
      break;
    }
    ++failures;
  }
  // Open the print file, create the job file, read, read the end, write, close both.
  EXPECT_EQ(failures, 7);
}

}  // namespace
