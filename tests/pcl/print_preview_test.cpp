// The print preview's core: the job PRINT would print, built in memory without
// touching the shared state or the working folder, the canvas page loop on print
// text in memory, and a PCL job laid out on sheets in device pixels.
#include "pcl/print_preview.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "canvas/canvas_print.h"
#include "pcl/pcl_compose.h"
#include "pcl/pcl_reader.h"
#include "pcl/pcl_sheets.h"
#include "pcl/print_commands.h"
#include "pcl/print_text_fixtures.h"
#include "shell/app_state.h"
#include "shell/day_cycle.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// Wednesday 2:05:09 PM.
std::tm Wednesday() {
  std::tm now{};
  now.tm_wday = 3;
  now.tm_hour = 14;
  now.tm_min = 5;
  now.tm_sec = 9;
  return now;
}

PageList ListOf(const std::vector<std::pair<std::string, bool>>& items) {
  PageList list;
  for (const auto& [text, checked] : items) list.items.push_back({text, std::nullopt, checked});
  return list;
}

using print_text_fixtures::BlockLines;
using print_text_fixtures::PageText;

class BuildPrintPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder.MakeFolder("Exec");
    m_folder.Write("A01Tam01", "\x0c@A01Tam01\r\n" + std::string(20, '.') + "ID: 0000 rest\r\nfirst\r\n\r\nsecond\r\n");
    m_folder.Write("B01Tam", "\x0c@B01Tam\r\nb line\r\n");
    m_list = ListOf({{"A01Tam01", true}, {"", false}, {"B01Tam", true}, {"X01Tam", true}, {"E01Tam01", false}});
  }
  PrintPreviewRequest Request(int printMode, std::uint16_t jobNumber = 41) const {
    return {m_folder.Path(), printMode, jobNumber, false, false};
  }
  TempFolder m_folder;
  PageList m_list;
};

TEST_F(BuildPrintPreviewTest, PrintTextIsThePrintFileOfPrintStampedWithTheNextJobNumber) {
  const auto preview = BuildPrintPreview(m_list, Request(0), Wednesday());
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->jobNumberText, "0042");
  // Nothing is stored: no print file, no job number file.
  EXPECT_EQ(ListFolder(m_folder.Path()), (std::vector<std::string>{"A01Tam01", "B01Tam", "Exec"}));
  EXPECT_TRUE(ListFolder(m_folder.Path() + "Exec").empty());

  // PRINT itself, from the same job number: the same bytes (X01Tam is missing and skipped).
  AppState state;
  state.baseFolder = m_folder.Path();
  state.jobNumber = 41;
  std::ostringstream notes;
  ASSERT_TRUE(PreparePrintOfCheckedPages(state, m_list, Wednesday(), notes));
  EXPECT_EQ(notes.str(), "");
  EXPECT_EQ(preview->printText, m_folder.Read("Vantrose.PRN"));
  EXPECT_NE(preview->printText.find("ID: 0000    3 14:05:09  0042\r\n"), std::string::npos);

  EXPECT_EQ(BuildPrintPreview(m_list, Request(0, 9999), Wednesday())->jobNumberText, "0000");
}

TEST_F(BuildPrintPreviewTest, NothingCheckedGivesNoPreviewAndACheckedFillerAnEmptyOne) {
  PageList none = ListOf({{"A01Tam01", false}, {"", false}});
  EXPECT_FALSE(BuildPrintPreview(none, Request(4), Wednesday()));
  PageList filler = ListOf({{"A01Tam01", false}, {"", true}});
  const auto preview = BuildPrintPreview(filler, Request(4), Wednesday());
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->printText, "");
  EXPECT_EQ(preview->pclJob, "");
}

TEST_F(BuildPrintPreviewTest, PclModesCarryTheJobPrintWouldSpoolAndCanvasModesNone) {
  for (int mode = 0; mode < 8; ++mode) {
    for (const bool legal : {false, true}) {
      for (const bool duplex : {false, true}) {
        PrintPreviewRequest request = Request(mode);
        request.legalPaper = legal;
        request.duplexPrint = duplex;
        const auto preview = BuildPrintPreview(m_list, request, Wednesday());
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->modeLetter, ModeLetter(mode));
        if (!IsPclMode(mode)) {
          EXPECT_EQ(preview->pclJob, "") << mode;
          continue;
        }
        // The job file PRINT builds from the same print file.
        m_folder.Write("Vantrose.PRN", preview->printText);
        BuildPclJob(m_folder.Path() + "Vantrose.PRN", m_folder.Path() + "Vantrose.PCL", ModeLetter(mode), legal,
                    duplex);
        EXPECT_EQ(preview->pclJob, m_folder.Read("Vantrose.PCL")) << mode << legal << duplex;
        EXPECT_FALSE(preview->pclJob.empty());
      }
    }
  }
}

TEST(CanvasPrintText, DrawsWhatCanvasPrintFileDrawsInEveryMode) {
  // Three pages: two pieces in every mode, one short page, one page of one line (skipped).
  std::string text = PageText(BlockLines({60, 40, 28})) + PageText(BlockLines({3, 4})) + "single\r\n\f";
  text += "\xC9\xCD\xBB trailing page without form feed\r\nsecond\r\n";
  TempFolder folder;
  folder.Write("Vantrose.PRN", text);
  for (const char letter : {'G', 'H', 'I', 'J', 'K'}) {
    for (const int portraitHeight : {6360, 8200}) {  // letter and legal shapes
      RecordingCanvas fromFile(4800, portraitHeight);
      RecordingCanvas fromText(4800, portraitHeight);
      bool legalFromFile = false;
      bool legalFromText = false;
      CanvasPrintFile(folder.Path(), "Vantrose.PRN", letter, fromFile, legalFromFile);
      CanvasPrintText(text, letter, fromText, legalFromText);
      ASSERT_EQ(fromText.Calls().size(), fromFile.Calls().size()) << letter;
      for (std::size_t i = 0; i < fromFile.Calls().size(); ++i) {
        const RecordingCanvas::Call& a = fromFile.Calls()[i];
        const RecordingCanvas::Call& b = fromText.Calls()[i];
        EXPECT_TRUE(a.kind == b.kind && a.x == b.x && a.y == b.y && a.text == b.text) << letter << " call " << i;
      }
      EXPECT_EQ(legalFromText, legalFromFile) << letter;
      if (letter != 'K') {
        EXPECT_GE(fromText.Count(RecordingCanvas::Kind::NewPage), 2) << letter;
      }
    }
  }
}

// ---- LayPclSheets ----

constexpr double kDpi = 600;
double Pixels(double decipoints) { return decipoints * kDpi / 720; }

// The baselines of the runs of `sheet`, in device pixels.
std::vector<double> Baselines(const PclSheet& sheet) {
  std::vector<double> ys;
  for (const PclPlacedRun& run : sheet.runs) ys.push_back(run.y);
  return ys;
}

// `count` baselines from 90 decipoints at `step`, skipping the positions in `blank`.
std::vector<double> ExpectedBaselines(int count, int step, std::vector<int> blank = {}) {
  std::vector<double> ys;
  for (int i = 0; i < count; ++i)
    if (std::find(blank.begin(), blank.end(), i) == blank.end()) ys.push_back(Pixels(90 + i * step));
  return ys;
}

TEST(LayPclSheets, WorkedExamplesLandAtTheirDecipointsInDevicePixels) {
  // Letter H, letter paper: 130 lines in blocks of 60, 40 and 28 give two sheets, steps 120 and 104.
  const std::string page = PageText(BlockLines({60, 40, 28}));
  const ParsedPclJob parsed = ParsePclJob(ComposePclJob(page, 'H', false, false));
  const PclSheetLayout layout = LayPclSheets(parsed, kDpi);
  ASSERT_EQ(layout.sheets.size(), 2u);
  EXPECT_EQ(static_cast<int>(layout.sheets.size()), parsed.sheetsEjected);
  EXPECT_EQ(Baselines(layout.sheets[0]), ExpectedBaselines(60, 120));
  EXPECT_EQ(Baselines(layout.sheets[1]), ExpectedBaselines(69, 104, {40}));  // the blank line between blocks
  for (const PclSheet& sheet : layout.sheets) {
    EXPECT_EQ(sheet.orientation, PageOrientation::Portrait);
    EXPECT_EQ(sheet.paper, PclPaper::Letter);
    for (const PclPlacedRun& run : sheet.runs) {
      EXPECT_DOUBLE_EQ(run.x, Pixels(1080));
      EXPECT_DOUBLE_EQ(run.advance, kDpi / 16.67);
      EXPECT_DOUBLE_EQ(run.pixelHeight, 8.5 * kDpi / 72);
      EXPECT_TRUE(run.pc8);
    }
  }
  EXPECT_EQ(layout.sheets[1].runs[0].bytes, "b2l1");

  // Legal paper: a 112-line piece steps Round(Round(7200 / 112) x 1.3) = 83 on a legal sheet.
  const PclSheetLayout legal =
      LayPclSheets(ParsePclJob(ComposePclJob(PageText(BlockLines({112})), 'J', true, false)), kDpi);
  ASSERT_EQ(legal.sheets.size(), 1u);
  EXPECT_EQ(legal.sheets[0].paper, PclPaper::Legal);
  EXPECT_EQ(Baselines(legal.sheets[0]), ExpectedBaselines(112, 83));
  EXPECT_DOUBLE_EQ(legal.sheets[0].runs[0].x, Pixels(540));
  EXPECT_DOUBLE_EQ(legal.sheets[0].runs[0].advance, kDpi / 12);
  EXPECT_DOUBLE_EQ(legal.sheets[0].runs[0].pixelHeight, 10 * kDpi / 72);
}

TEST(LayPclSheets, LandscapeColumnsShareASheet) {
  // Three pieces of 90 + lines: pieces 1 and 2 side by side, piece 3 alone on the left.
  const std::string page = PageText(BlockLines({60, 60, 60}));
  for (const bool legal : {false, true}) {
    const PclSheetLayout layout = LayPclSheets(ParsePclJob(ComposePclJob(page, 'G', legal, false)), kDpi);
    ASSERT_EQ(layout.sheets.size(), 2u);
    const double left = Pixels(legal ? 720 : 180);
    const double right = Pixels(legal ? 5670 : 4050);
    std::vector<double> xs;
    for (const PclPlacedRun& run : layout.sheets[0].runs)
      if (xs.empty() || xs.back() != run.x) xs.push_back(run.x);
    EXPECT_EQ(xs, (std::vector<double>{left, right}));
    EXPECT_DOUBLE_EQ(layout.sheets[1].runs.front().x, left);
    EXPECT_DOUBLE_EQ(layout.sheets[0].runs.front().y, Pixels(90));
    for (const PclSheet& sheet : layout.sheets) {
      EXPECT_EQ(sheet.orientation, PageOrientation::Landscape);
      EXPECT_EQ(sheet.paper, legal ? PclPaper::Legal : PclPaper::Letter);
    }
  }
}

TEST(LayPclSheets, EverySheetTakesTheLayoutInForceAtItsFirstText) {
  // Landscape legal text; an empty sheet ejected; a reset back to portrait letter; text
  // after the last form feed still fills a sheet; an orientation change after text keeps the sheet's.
  const std::string job =
      "\x1B&l1O\x1B&l3AHello\f\f\x1B"
      "EWorld\x1B&l1O";
  const PclSheetLayout layout = LayPclSheets(ParsePclJob(job), kDpi);
  ASSERT_EQ(layout.sheets.size(), 3u);
  struct Expected {
    PageOrientation orientation;
    PclPaper paper;
    std::size_t runs;
  };
  const Expected expected[] = {{PageOrientation::Landscape, PclPaper::Legal, 1},
                               {PageOrientation::Landscape, PclPaper::Legal, 0},
                               {PageOrientation::Portrait, PclPaper::Letter, 1}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(layout.sheets[i].orientation, expected[i].orientation) << i;
    EXPECT_EQ(layout.sheets[i].paper, expected[i].paper) << i;
    EXPECT_EQ(layout.sheets[i].runs.size(), expected[i].runs) << i;
  }
  EXPECT_EQ(layout.sheets[2].runs[0].bytes, "World");
  EXPECT_TRUE(LayPclSheets(ParsePclJob(""), kDpi).sheets.empty());
}

TEST(LayPclSheets, UnknownCommandsAreSkippedAndCountedAndUnsetFontsGetDefaults) {
  const std::string job =
      "\x1B&k2GA\x1B*c100A\x1B"
      "ZB\x1B*b3WxyzC\f";
  const PclSheetLayout layout = LayPclSheets(ParsePclJob(job), kDpi);
  EXPECT_EQ(layout.unknownCommands, 4);
  ASSERT_EQ(layout.sheets.size(), 1u);
  std::string text;
  for (const PclPlacedRun& run : layout.sheets[0].runs) {
    text += run.bytes;
    EXPECT_DOUBLE_EQ(run.advance, kDpi / 10);
    EXPECT_DOUBLE_EQ(run.pixelHeight, 12 * kDpi / 72);
    EXPECT_FALSE(run.pc8);
  }
  EXPECT_EQ(text, "ABC");                                   // the three data bytes of ESC *b3W are not text
  EXPECT_DOUBLE_EQ(layout.sheets[0].runs[1].x, kDpi / 10);  // one column after "A"
}

TEST(PclRunText, ShowsCodePage437ForPc8AndLatin1OtherwiseWithControlsAsBlanks) {
  struct Case {
    std::string bytes;
    bool pc8;
    std::string text;
  };
  const Case cases[] = {
      {"\xC9\xCD\xBB\xB3\xC4", true, "\u2554\u2550\u2557\u2502\u2500"},
      {"a\x02"
       "b\tc\x7F",
       true, "a b c "},
      {"\xE9\xB3", false, "\u00E9\u00B3"},
      {"plain", false, "plain"},
  };
  for (const Case& c : cases) EXPECT_EQ(PclRunText(c.bytes, c.pc8), c.text) << c.bytes;
}

}  // namespace
