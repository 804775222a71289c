// The page list and the page view of the real main window, started on a temporary
// profile offscreen and driven with mouse clicks and key presses: default check
// marks, clicks on pages and fillers, the Backspace jump, Check ALL and Clear ALL,
// keyboard moves, the column layout, and code page 437 text in the view.
#include <QAbstractItemModel>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "browser/ui/page_list_box.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

// Every report kind listed, every track group.
constexpr char kAllKindsSettings[] = "0000\r\nAXEB\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n27\r\n";

// The day of the tests: ten B pages of one track fill items 0 to 9 (names sort
// before the other track's), the other reports land one to a column after
// fillers. Z01Aqu is never listed.
const std::vector<std::string> kDayReports = {"B01Aqu", "B02Aqu", "B03Aqu", "B04Aqu", "B05Aqu", "B06Aqu",
                                              "B07Aqu", "B08Aqu", "B09Aqu", "B10Aqu", "B11Tam", "E01Tam",
                                              "A01Tam", "A02Tam", "X01Tam", "Z01Aqu"};

// What the day above lists, item by item: B pages by track, the E page, then a
// column of A pages followed by the column of their X page.
std::vector<std::string> ExpectedItems() {
  std::vector<std::string> items(75);
  for (int i = 0; i < 10; ++i) items[static_cast<std::size_t>(i)] = kDayReports[static_cast<std::size_t>(i)];
  items[15] = "B11Tam";
  items[30] = "E01Tam";
  items[45] = "A01Tam";
  items[46] = "A02Tam";
  items[60] = "X01Tam";
  items[61] = "X01Tam";
  return items;
}

// A report's lines: the marker that names it and one line that says which page it is.
std::string ReportText(const std::string& name) { return "\x0c@" + name + " report\r\npage=" + name + ".\r\n"; }

std::string DayText(const std::vector<std::string>& names) {
  std::string text = "lines before the first report\r\n";
  for (const std::string& name : names) text += ReportText(name);
  return text;
}

class PageListWindowTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    m_profile.Write(Base("Exec/Vantrose.OPT"), kAllKindsSettings);
    m_services.printing = SystemPrintingServices();
  }

  // Starts the program on a day text (none when `dayText` is empty).
  TMainForm& Start(const std::string& dayText) {
    if (!dayText.empty()) m_profile.Write(Base("Vantrose.TXT"), dayText);
    m_program = StartHere();
    if (!m_program) throw std::runtime_error("the program did not start");
    m_form = m_program->mainForm.get();
    List()->doItemsLayout();
    return *m_form;
  }
  TMainForm& StartDay() { return Start(DayText(kDayReports)); }

  PageListBox* List() const { return m_form->ReportListBox; }
  QRect ItemRect(int row) const { return List()->visualRect(List()->model()->index(row, 0)); }
  std::string Memo() const { return m_form->MainMemo->toPlainText().toStdString(); }
  std::string ViewFileName() const { return m_form->State().viewFileName; }

  // The page the view shows, by the line that names it; "" when it shows something else.
  std::string ShownPage() const {
    const std::string memo = Memo();
    const std::size_t at = memo.find("page=");
    if (at == std::string::npos) return "";
    return memo.substr(at + 5, memo.find('.', at) - at - 5);
  }

  void ClickItem(int row) {
    List()->scrollToItem(List()->item(row));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, ItemRect(row).center());
  }
  void PressKey(Qt::Key key) { QTest::keyClick(List(), key); }

  std::vector<bool> ModelChecks() const {
    std::vector<bool> checks;
    for (const PageItem& item : m_form->Pages().items) checks.push_back(item.checked);
    return checks;
  }

  std::unique_ptr<Program> m_program;
  TMainForm* m_form = nullptr;
};

TEST_F(PageListWindowTest, StartUpListsTheDayChecksAllButXPagesAndFillersAndShowsItemZero) {
  StartDay();
  EXPECT_TRUE(m_messages.empty());
  const std::vector<std::string> expected = ExpectedItems();
  ASSERT_EQ(List()->count(), static_cast<int>(expected.size()));
  const std::vector<bool> checks = List()->CheckMarks();
  for (int i = 0; i < List()->count(); ++i) {
    const std::string& text = expected[static_cast<std::size_t>(i)];
    EXPECT_EQ(List()->item(i)->text().toStdString(), text) << "item " << i;
    const bool shouldBeChecked = !text.empty() && text[0] != 'X';
    EXPECT_EQ(checks[static_cast<std::size_t>(i)], shouldBeChecked) << "item " << i << " " << text;
  }
  // What printing reads agrees with what the list shows.
  EXPECT_EQ(ModelChecks(), checks);
  EXPECT_EQ(List()->currentRow(), 0);
  EXPECT_EQ(ShownPage(), "B01Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B01Aqu"));
}

TEST_F(PageListWindowTest, ClickOnAPageShowsItAndClickOnAFillerKeepsTheView) {
  StartDay();
  ClickItem(15);
  EXPECT_EQ(List()->currentRow(), 15);
  EXPECT_EQ(ShownPage(), "B11Tam");
  EXPECT_EQ(ViewFileName(), PagePath("B11Tam"));

  const std::string memoBefore = Memo();
  ClickItem(12);  // a filler
  EXPECT_EQ(List()->currentRow(), 12);
  EXPECT_EQ(m_form->Pages().selected, 12);
  EXPECT_EQ(Memo(), memoBefore);
  EXPECT_EQ(ViewFileName(), PagePath("B11Tam"));

  // A click on the item already selected shows its page again, read afresh.
  ClickItem(15);
  m_profile.Write(Base("B11Tam"), "page=B11Tam-edited.\r\n");
  ClickItem(15);
  EXPECT_EQ(ShownPage(), "B11Tam-edited");
}

TEST_F(PageListWindowTest, ClickOnAnItemWhoseFileHasGoneKeepsTheViewSilently) {
  StartDay();
  std::filesystem::remove(PagePath("B03Aqu"));
  ClickItem(2);
  EXPECT_EQ(List()->currentRow(), 2);
  EXPECT_EQ(ShownPage(), "B01Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B01Aqu"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(PageListWindowTest, APageThatCannotBeReadIsReportedWithItsFileNameAndKeepsTheView) {
  StartDay();
  FaultInjection::FailPath(PagePath("B03Aqu"), EACCES);  // as for a page the user may not read
  ClickItem(2);
  FaultInjection::Disarm();
  EXPECT_EQ(m_messages, std::vector<std::string>{"File access denied: " + PagePath("B03Aqu")});
  EXPECT_EQ(List()->currentRow(), 2);
  EXPECT_EQ(ShownPage(), "B01Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B01Aqu"));
}

TEST_F(PageListWindowTest, BackspaceSwapsBetweenTheLastTwoPositions) {
  StartDay();
  QSignalSpy clicks(List(), &PageListBox::ItemClicked);

  ClickItem(5);
  PressKey(Qt::Key_Backspace);  // the first press only remembers item 5
  EXPECT_EQ(List()->currentRow(), 5);
  EXPECT_EQ(ShownPage(), "B06Aqu");

  ClickItem(9);
  EXPECT_EQ(ShownPage(), "B10Aqu");
  PressKey(Qt::Key_Backspace);
  EXPECT_EQ(List()->currentRow(), 5);
  EXPECT_EQ(ShownPage(), "B06Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B06Aqu"));

  PressKey(Qt::Key_Backspace);
  EXPECT_EQ(List()->currentRow(), 9);
  EXPECT_EQ(ShownPage(), "B10Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B10Aqu"));

  // Only the two mouse clicks were clicks: the jumps select from code.
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(PageListWindowTest, BackspaceTwiceWithoutMovingSelectsAndShowsTheSameItemAgain) {
  StartDay();
  ClickItem(3);
  PressKey(Qt::Key_Backspace);
  // The page changes on disk between the presses: the second press shows it anew.
  m_profile.Write(Base("B04Aqu"), "page=B04Aqu-again.\r\n");
  EXPECT_EQ(ShownPage(), "B04Aqu");
  PressKey(Qt::Key_Backspace);
  EXPECT_EQ(List()->currentRow(), 3);
  EXPECT_EQ(ShownPage(), "B04Aqu-again");
}

TEST_F(PageListWindowTest, CheckAllChecksEveryPageAndUnchecksFillersCheckedByHand) {
  StartDay();
  ClickItem(12);  // a filler
  PressKey(Qt::Key_Space);
  ClickItem(1);
  PressKey(Qt::Key_Space);
  ASSERT_TRUE(List()->CheckMarks()[12]) << "the space bar checks the selected filler";
  ASSERT_FALSE(List()->CheckMarks()[1]) << "the space bar clears the selected page";
  const std::string memoBefore = Memo();

  QTest::mouseClick(m_form->checkALL, Qt::LeftButton);

  const std::vector<std::string> expected = ExpectedItems();
  const std::vector<bool> checks = List()->CheckMarks();
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(checks[i], !expected[i].empty()) << "item " << i << " " << expected[i];  // X pages too
  EXPECT_EQ(ModelChecks(), checks);
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_EQ(Memo(), memoBefore);
}

TEST_F(PageListWindowTest, ClearAllUnchecksEveryItemAndKeepsSelectionAndView) {
  StartDay();
  ClickItem(60);  // an X page
  PressKey(Qt::Key_Space);
  const std::string memoBefore = Memo();

  QTest::mouseClick(m_form->clearALL, Qt::LeftButton);

  EXPECT_EQ(List()->CheckMarks(), std::vector<bool>(ExpectedItems().size(), false));
  EXPECT_EQ(ModelChecks(), List()->CheckMarks());
  EXPECT_EQ(List()->currentRow(), 60);
  EXPECT_EQ(Memo(), memoBefore);
}

TEST_F(PageListWindowTest, KeyboardMovesShowThePageThroughTheClickHandler) {
  StartDay();
  QSignalSpy clicks(List(), &PageListBox::ItemClicked);
  struct Case {
    Qt::Key key;
    int row;
    std::string shownPage;  // a filler keeps the page shown before
  };
  const Case cases[] = {
      {Qt::Key_Down, 1, "B02Aqu"}, {Qt::Key_Down, 2, "B03Aqu"}, {Qt::Key_Up, 1, "B02Aqu"},
      {Qt::Key_End, 74, "B02Aqu"}, {Qt::Key_Up, 73, "B02Aqu"},  {Qt::Key_Home, 0, "B01Aqu"},
  };
  int expectedClicks = 0;
  for (const Case& c : cases) {
    PressKey(c.key);
    ++expectedClicks;
    EXPECT_EQ(List()->currentRow(), c.row) << "key " << c.key;
    EXPECT_EQ(ShownPage(), c.shownPage) << "key " << c.key;
    EXPECT_EQ(clicks.count(), expectedClicks) << "key " << c.key;
    EXPECT_EQ(m_form->Pages().selected, c.row) << "key " << c.key;
  }
  // A key that does not move the selection raises no click.
  PressKey(Qt::Key_Home);
  EXPECT_EQ(clicks.count(), expectedClicks);
}

TEST_F(PageListWindowTest, SelectionSetFromCodeRaisesNoClick) {
  StartDay();
  QSignalSpy clicks(List(), &PageListBox::ItemClicked);
  List()->SelectFromCode(15);
  EXPECT_EQ(List()->currentRow(), 15);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(ShownPage(), "B01Aqu");
  EXPECT_EQ(ViewFileName(), PagePath("B01Aqu"));
}

TEST_F(PageListWindowTest, ListRunsInColumnsOfFifteenRowsWithTwoVisible) {
  StartDay();
  const QRect viewport = List()->viewport()->rect();
  const QRect first = ItemRect(0);
  const QRect last = ItemRect(14);
  const QRect secondColumn = ItemRect(15);
  const QRect thirdColumn = ItemRect(30);
  const int columnWidth = viewport.width() / 2;

  EXPECT_EQ(first.topLeft(), QPoint(0, 0));
  EXPECT_EQ(first.height(), PageListBox::kItemHeight);
  EXPECT_EQ(last.left(), 0);
  EXPECT_EQ(last.top(), 14 * PageListBox::kItemHeight);
  EXPECT_TRUE(viewport.contains(last)) << "row 15 of a column is fully visible";
  EXPECT_EQ(secondColumn.topLeft(), QPoint(columnWidth, 0));
  EXPECT_TRUE(viewport.contains(secondColumn));
  EXPECT_EQ(thirdColumn.topLeft(), QPoint(2 * columnWidth, 0));
  EXPECT_GE(thirdColumn.left(), viewport.width()) << "the third column is out of sight";
}

// Off until PageListBox scrolls by whole columns: scrolling per pixel brings the
// third column in with its last pixel cut and a one-pixel sliver of the first
// column left at the side (horizontal scroll mode ScrollPerItem scrolls by columns).
TEST_F(PageListWindowTest, KeyboardMoveToAHiddenColumnScrollsByWholeColumns) {
  StartDay();
  const QRect viewport = List()->viewport()->rect();
  const int columnWidth = viewport.width() / 2;
  ClickItem(15);
  PressKey(Qt::Key_Right);
  EXPECT_EQ(List()->currentRow(), 30);
  EXPECT_EQ(ShownPage(), "E01Tam");
  const QRect shown = ItemRect(30);
  EXPECT_TRUE(viewport.contains(shown));
  EXPECT_EQ(shown.left() % columnWidth, 0) << "the third column starts at " << shown.left();
}

TEST_F(PageListWindowTest, ViewShowsTheRulerUntilAPageIsShown) {
  struct Case {
    const char* what;
    std::string dayText;
  };
  const Case cases[] = {
      {"no day text", ""},
      {"a day text without reports", "no marker here\r\nnor here\r\n"},
      {"a day of reports that are never listed", DayText({"Z01Aqu", "X01Tam", "A01Hst"})},
  };
  for (const Case& c : cases) {
    Start(c.dayText);
    EXPECT_EQ(List()->count(), 0) << c.what;
    EXPECT_EQ(Memo(), kRulerLine) << c.what;
    EXPECT_EQ(Memo().size(), 80u) << c.what;
    EXPECT_EQ(ViewFileName(), "") << c.what;
    EXPECT_TRUE(m_messages.empty()) << c.what;
    ASSERT_TRUE(m_form->close()) << c.what;
    m_program.reset();
    std::filesystem::remove(m_profile.Path() + Base("Vantrose.TXT"));
  }
}

// Code page 437 as the view must show it, written out independently of the
// program's own table: the pictures of the control bytes 1 to 31 (10, 13 and 26
// are never shown), then bytes 127 to 255.
const char* const kControlPictures[32] = {"",  "☺", "☻", "♥", "♦", "♣", "♠", "•", "◘", "○", "",
                                          "♂", "♀", "",  "♫", "☼", "►", "◄", "↕", "‼", "¶", "§",
                                          "▬", "↨", "↑", "↓", "",  "←", "∟", "↔", "▲", "▼"};
constexpr char kUpperHalf[] =
    "⌂ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌"
    "█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00a0";

TEST_F(PageListWindowTest, ViewShowsEveryByteAsItsCodePage437Character) {
  // Sixteen lines of sixteen byte values each, without the line ends and the text end.
  std::string page = "\x02@B01Tam every byte\r\n";
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      const int byte = row * 16 + column;
      if (byte != 10 && byte != 13 && byte != 26) page += static_cast<char>(byte);
    }
    page += "\r\n";
  }
  Start(page);
  ASSERT_TRUE(m_messages.empty()) << m_messages.front();
  ASSERT_EQ(ViewFileName(), PagePath("B01Tam"));

  // The expected lines in UTF-8: byte 0 shows the symbol for NUL.
  std::vector<QString> expected(16);
  const QString upper = QString::fromUtf8(kUpperHalf);
  ASSERT_EQ(upper.size(), 129);
  for (int byte = 0; byte < 256; ++byte) {
    QString& line = expected[static_cast<std::size_t>(byte / 16)];
    if (byte == 0) {
      line += QChar(0x2400);
    } else if (byte < 32) {
      line += QString::fromUtf8(kControlPictures[byte]);
    } else if (byte < 127) {
      line += QChar(byte);
    } else {
      line += upper[byte - 127];
    }
  }
  // Block texts, not toPlainText(), which turns the no-break space of byte 255 into a blank.
  const QTextDocument* document = m_form->MainMemo->document();
  ASSERT_EQ(document->blockCount(), 17);
  for (int row = 0; row < 16; ++row)
    EXPECT_EQ(document->findBlockByNumber(row + 1).text().toStdString(),
              expected[static_cast<std::size_t>(row)].toStdString())
        << "bytes " << row * 16 << " to " << row * 16 + 15;
  // Box drawing shows as lines, not as the accented letters of another code page.
  EXPECT_TRUE(document->findBlockByNumber(12).text().startsWith(QString::fromUtf8("░▒▓│┤╡╢")));
  EXPECT_TRUE(QFontInfo(m_form->MainMemo->font()).fixedPitch());
}

}  // namespace
