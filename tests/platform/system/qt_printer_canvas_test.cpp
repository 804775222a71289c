// The canvas path through the real QPrinter into a PDF file, read back with
// pdftotext: what the reader yields of each page must reach the paper, in
// order within each column, in every canvas mode; and the schedule printout
// must carry its date heading and lines.
#include "platform/system/qt_printer_canvas.h"

#include <QPageSize>
#include <QPrinter>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "canvas/canvas_print.h"
#include "canvas/simo_schedule.h"
#include "support/pdf_text.h"
#include "support/temp_folder.h"

namespace {

// Expects every line of `column` in `text`, each after the one before it.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& column, const std::string& columnName) {
  std::size_t from = 0;
  for (const std::string& line : column) {
    const std::size_t found = text.find(Simplified(line), from);
    if (found == std::string::npos) {
      ADD_FAILURE() << columnName << ": \"" << line << "\" missing or out of order";
      return;
    }
    from = found + Simplified(line).size();
  }
}

// A print file of three pages and what each column of the printout must show.
//   Page 1: block A (50 lines with box drawing), a line of bytes that print blank, block B
//   (50 lines, one of them longer than 80 characters), then text cut off by a form feed.
//   Page 2: blocks of 10, 10 and 30 lines.
//   Page 3: one line only, which is not printed.
struct PrintFixture {
  std::string bytes;
  std::vector<std::string> blockA, blockB, page2;  // the lines as printed
};

PrintFixture MakePrintFixture() {
  PrintFixture fixture;
  auto add = [&fixture](const std::string& raw) { fixture.bytes += raw + "\r\n"; };
  char number[8];
  for (int i = 0; i < 50; ++i) {
    std::snprintf(number, sizeof number, "%02d", i);
    add(std::string("P1A") + number + " \xC9\xCD\xCD\xBB \xBA\xB0\xB1\xB2\xDB\xAE\xAF\x80x \xC8\xC4\xC5\xBC end");
    fixture.blockA.push_back(std::string("P1A") + number + " +--+ |_*#*<> x +-++ end");
  }
  add("\xA0\xA0  \xE0");  // translated to blanks: a separator, not a line
  for (int i = 0; i < 50; ++i) {
    std::snprintf(number, sizeof number, "%02d", i);
    std::string line = std::string("P1B") + number + " right column";
    if (i == 7) {
      line = std::string("P1B") + number + " " + std::string(74, '=');  // 80 characters
      add(line + "CUT-AWAY");
    } else {
      add(line);
    }
    fixture.blockB.push_back(line);
  }
  fixture.bytes += "LOST-BEFORE-FORM-FEED\x0c";
  for (int block = 0, line = 0; block < 3; ++block) {
    for (int i = 0; i < (block == 2 ? 30 : 10); ++i, ++line) {
      std::snprintf(number, sizeof number, "%02d", line);
      const std::string text = std::string("P2L") + number + " block " + std::to_string(block + 1);
      add(text);
      fixture.page2.push_back(text);
    }
    if (block < 2) add("");
  }
  fixture.bytes += "\x0cP3-ALONE\r\n\x0c";
  return fixture;
}

class CanvasToPdf : public ::testing::Test {
 protected:
  // Prints `fixture` in the mode `letter` into a PDF and returns its text.
  std::string PrintedText(const PrintFixture& fixture, char letter) {
    m_folder.Write("Vantrose.PRN", fixture.bytes);
    const std::string pdfPath = m_folder.Path() + "out-" + letter + ".pdf";
    QtPrinterCanvas canvas(m_printer, QString::fromStdString(pdfPath));
    bool legalPaper = true;
    CanvasPrintFile(m_folder.Path(), "Vantrose.PRN", letter, canvas, legalPaper);
    EXPECT_FALSE(legalPaper) << "letter paper is not legal";
    return PdfFileText(pdfPath);
  }

  void SetUp() override { m_printer.setPageSize(QPageSize(QPageSize::Letter)); }

  TempFolder m_folder;
  QPrinter m_printer{QPrinter::HighResolution};
};

TEST_F(CanvasToPdf, EveryModePrintsEachLineAsTheReaderYieldsItInColumnOrder) {
  const PrintFixture fixture = MakePrintFixture();
  for (const char letter : {'G', 'H', 'I', 'J'}) {
    SCOPED_TRACE(std::string("mode ") + letter);
    const std::string text = Simplified(PrintedText(fixture, letter));
    ASSERT_FALSE(text.empty());
    if (letter == 'G') {
      // Landscape: page 1 in two pieces side by side, page 2 alone in the left column.
      std::vector<std::string> left = fixture.blockA;
      left.insert(left.end(), fixture.page2.begin(), fixture.page2.end());
      ExpectInOrder(text, left, "left column");
      ExpectInOrder(text, fixture.blockB, "right column");
    } else {
      std::vector<std::string> all = fixture.blockA;
      all.insert(all.end(), fixture.blockB.begin(), fixture.blockB.end());
      all.insert(all.end(), fixture.page2.begin(), fixture.page2.end());
      ExpectInOrder(text, all, "the one column");
    }
    for (const char* absent : {"CUT-AWAY", "LOST-BEFORE-FORM-FEED", "P3-ALONE"})
      EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
}

TEST_F(CanvasToPdf, SheetCountFollowsTheModesPieces) {
  // Page 1 has 101 lines: one piece at 120 lines per piece (H), two at 90 (G, I, J);
  // page 2 is one piece everywhere. Landscape puts two pieces on a sheet.
  const PrintFixture fixture = MakePrintFixture();
  const std::pair<char, long> expected[] = {{'G', 2}, {'H', 2}, {'I', 3}, {'J', 3}};
  for (const auto& [letter, sheets] : expected) {
    const std::string text = PrintedText(fixture, letter);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), sheets) << letter;
  }
}

// A schedule line of the sample's layout; each one is different.
std::string ScheduleLine(int index) {
  char line[64];
  std::snprintf(line, sizeof line, "        %2d:%02d - %2d %s  - %4.1ff %c       ", 1 + index / 60, index % 60,
                1 + index % 12, index % 2 == 0 ? "Kee" : "GPx", 5.0 + index % 8, index % 3 == 0 ? 'T' : ' ');
  return line;
}

TEST_F(CanvasToPdf, ScheduleCarriesItsDateHeadingAndLinesTwoUpOnOneSheet) {
  std::vector<std::string> lines;
  for (int i = 0; i < 65; ++i) lines.push_back(ScheduleLine(i));
  const SimoPlan plan = PlanSimoPages(32, 64, lines.size());
  ASSERT_EQ(plan.kind, SimoPageKind::TwoPages);  // 36 and 29 lines

  for (const bool twoUp : {true, false}) {
    SCOPED_TRACE(twoUp ? "2-up" : "one page per sheet");
    const std::string pdfPath = m_folder.Path() + (twoUp ? "two-up.pdf" : "two-sheets.pdf");
    QtPrinterCanvas canvas(m_printer, QString::fromStdString(pdfPath));
    PrintSimoPages(canvas, lines, plan, "Tue 12-Jul-2016", twoUp);
    const std::string raw = PdfFileText(pdfPath);
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\f'), twoUp ? 1 : 2);
    const std::string text = Simplified(raw);
    std::size_t headings = 0;
    for (std::size_t at = text.find("Tue 12-Jul-2016"); at != std::string::npos;
         at = text.find("Tue 12-Jul-2016", at + 1))
      ++headings;
    EXPECT_EQ(headings, 2u);
    ExpectInOrder(text, std::vector<std::string>(lines.begin(), lines.begin() + 36), "first page");
    ExpectInOrder(text, std::vector<std::string>(lines.begin() + 36, lines.end()), "second page");
  }
}

}  // namespace
