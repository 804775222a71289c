// The browser commands of the real main window, started on a temporary profile
// offscreen and driven as a user would: the options dialog, the scratch editor,
// the help texts and the archive save and load.
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>

#include "base/cp437.h"
#include "base/file_layer.h"
#include "browser/ui/edit_dialog.h"
#include "browser/ui/options_dialog.h"
#include "browser/ui/page_list_box.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

constexpr char kTopLeft = '\xDA', kTopTee = '\xC2', kTopRight = '\xBF', kHorizontal = '\xC4';
constexpr char kVertical = '\xB3', kBottomLeft = '\xC0', kBottomTee = '\xC1', kBottomRight = '\xD9';

std::string Padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// A horse block of an E report: the heading with the table's top at column 42, then
// `lines` performance lines with bars at columns 42 and 64, then the bottom line.
std::string HorseBlock(int lines) {
  std::string block = Padded("  1 Horse One", 41) + kTopLeft + std::string(8, kHorizontal) + kTopTee +
                      std::string(12, kHorizontal) + kTopRight + "\r\n";
  for (int i = 1; i <= lines; ++i)
    block += Padded("   race " + std::to_string(i), 41) + kVertical + Padded(" fig", 21) + kVertical + " x\r\n";
  block += std::string(41, ' ') + kBottomLeft + std::string(8, kHorizontal) + kBottomTee +
           std::string(12, kHorizontal) + kBottomRight + "\r\n";
  return block;
}

// An odds table: the start line, then one entry per pair of odds (80 characters,
// the values in characters 70 to 73 and 75 to 78), then an ending line.
std::string OddsTable(const std::vector<std::pair<std::string, std::string>>& odds) {
  std::string table = Padded("Odds", 69) + "\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC2\xC4" + "\xC4\xC4\r\n";
  int horse = 0;
  for (const auto& [first, second] : odds)
    table += Padded("  " + std::to_string(++horse) + " Horse", 69) + first + " " + second + "  \r\n";
  return table + "end of table\r\n";
}

std::string Report(const std::string& name, const std::string& body) {
  return "\x0c@" + name + " report\r\npage=" + name + ".\r\n" + body;
}

// E pages of two tracks, two A pages and the X page of track Tam, a B page (not
// listed by default). The default list: E01Aqu at 0, E01Tam at 15, A01Tam and A02Tam
// at 30 and 31, X01Tam at 45 and 46, 60 items.
std::string DayText() {
  return "before the first report\r\n" + Report("E01Aqu", HorseBlock(5)) + Report("E01Tam", HorseBlock(10)) +
         Report("A01Tam", OddsTable({{" 3.0", " 3.0"}, {" 3.0", " 3.0"}, {" 1.0", " 1.0"}})) +
         Report("A02Tam", "second A page\r\n") + Report("X01Tam", "main track\r\n") + Report("B01Tam", "b page\r\n");
}

constexpr int kE01Aqu = 0, kE01Tam = 15, kA01Tam = 30, kA02Tam = 31, kX01Tam = 45;

int PerformanceLines(const std::string& page) {
  int count = 0;
  std::size_t start = 0;
  while (start < page.size()) {
    const std::size_t end = page.find("\r\n", start);
    const std::string line = page.substr(start, end - start);
    if (line.size() > 63 && line[41] == kVertical && line[63] == kVertical) ++count;
    start = end == std::string::npos ? page.size() : end + 2;
  }
  return count;
}

// What the view shows of a file made of CR LF ended lines.
std::string ViewText(std::string bytes) {
  if (bytes.ends_with("\r\n")) bytes.resize(bytes.size() - 2);
  for (std::size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.replace(at, 2, "\n");
  return Cp437ToUtf8(bytes);
}

class BrowserCommandsTest : public WorkingFolderTest {
 protected:
  void SetUp() override { m_services.printing = SystemPrintingServices(); }

  TMainForm& Start() {
    m_profile.Write(Base("Vantrose.TXT"), DayText());
    m_program = StartHere();
    if (!m_program) throw std::runtime_error("the program did not start");
    m_form = m_program->mainForm.get();
    m_form->ReportListBox->doItemsLayout();
    m_form->activateWindow();
    if (!QTest::qWaitForWindowActive(m_form)) throw std::runtime_error("the main window did not become active");
    m_form->InputBox = [this](const QString& caption, const QString& prompt) {
      m_questions.push_back((caption + "|" + prompt).toStdString());
      if (m_answers.empty()) return QString();
      const QString answer = QString::fromStdString(m_answers.front());
      m_answers.pop_front();
      return answer;
    };
    return *m_form;
  }

  TOptionsForm& Options() const { return *m_form->findChild<TOptionsForm*>("OptionsForm"); }
  TEditForm& Editor() const { return *m_form->findChild<TEditForm*>("EditForm"); }

  // Makes the next dialog the window opens run `drive` instead of a modal loop; a
  // dialog that `drive` leaves open is closed with its close box.
  void NextDialog(std::function<void(QDialog&)> drive) {
    m_form->RunModal = [drive](QDialog& dialog) {
      dialog.setResult(QDialog::Rejected);
      dialog.show();
      drive(dialog);
      if (dialog.isVisible()) dialog.close();
      return dialog.result();
    };
  }
  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void ConfirmOptions(std::function<void(TOptionsForm&)> change = {}) {
    NextDialog([this, change](QDialog&) {
      if (change) change(Options());
      Click(Options().OptionsOk);
    });
    m_form->OptionsMenu->trigger();
  }

  PageListBox* List() const { return m_form->ReportListBox; }
  void ClickItem(int row) {
    List()->scrollToItem(List()->item(row));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualRect(List()->model()->index(row, 0)).center());
  }
  // The memo's text as held, lines joined by "\n" (toPlainText() would show byte 255,
  // the no-break space, as a blank).
  std::string Memo() const {
    return m_form->MainMemo->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n').toStdString();
  }
  std::string ShownPage() const {
    const std::string memo = Memo();
    const std::size_t at = memo.find("page=");
    return at == std::string::npos ? "" : memo.substr(at + 5, memo.find('.', at) - at - 5);
  }
  std::string Page(const std::string& name) const { return m_profile.Read(Base(name)); }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const PageItem& item : m_form->Pages().items) texts.push_back(item.text);
    return texts;
  }
  std::vector<bool> Checks() const {
    std::vector<bool> checks;
    for (const PageItem& item : m_form->Pages().items) checks.push_back(item.checked);
    return checks;
  }
  // The model and the list widget agree.
  void ExpectListShowsTheModel() const {
    ASSERT_EQ(List()->count(), static_cast<int>(m_form->Pages().items.size()));
    EXPECT_EQ(List()->CheckMarks(), Checks());
    EXPECT_EQ(List()->currentRow(), m_form->Pages().selected);
  }

  // Every file of the working folder (not below it) with its bytes.
  std::map<std::string, std::string> WorkingFiles() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(m_folders.baseFolder))
      if (entry.is_regular_file())
        files[entry.path().filename().string()] = m_profile.Read(Base(entry.path().filename().string()));
    return files;
  }

  std::deque<std::string> m_answers;     // given by the input dialog in turn
  std::vector<std::string> m_questions;  // "caption|prompt" of each question
  std::unique_ptr<Program> m_program;
  TMainForm* m_form = nullptr;
};

// ---- Options ----

TEST_F(BrowserCommandsTest, OptionsDialogHasItsControlsAtTheirPlacesFilledFromTheSettings) {
  Start();
  TOptionsForm& options = Options();
  std::vector<std::string> tracks;
  std::vector<std::string> reports;
  NextDialog([&](QDialog&) {
    for (int i = 0; i < options.TrackOptions->count(); ++i)
      if (options.TrackOptions->item(i)->checkState() == Qt::Checked)
        tracks.push_back(options.TrackOptions->item(i)->text().toStdString());
    for (int i = 0; i < options.ReportOptions->count(); ++i)
      reports.push_back(options.ReportOptions->item(i)->text().toStdString() +
                        (options.ReportOptions->item(i)->checkState() == Qt::Checked ? " +" : " -"));
  });
  m_form->OptionsMenu->trigger();

  ASSERT_EQ(tracks.size(), 25u);
  EXPECT_EQ(tracks[1], "(B) GGx Fer SRx Sac Fno ");
  EXPECT_EQ(reports, (std::vector<std::string>{"(A)  Vantrose-A +", "(X)  Main Track +", "(E)  Performances +",
                                               "(B)  Vantrose-B -"}));
  EXPECT_EQ(options.emaxpanel->text(), "7");
  EXPECT_EQ(options.windowTitle(), "Options");
  struct Place {
    QWidget* widget;
    QRect geometry;
  };
  const Place places[] = {
      {options.TrackOptions, {0, 0, 240, 394}},    {options.ReportOptions, {255, 15, 300, 100}},
      {options.emaxpanel, {489, 180, 30, 40}},     {options.emaxupdown, {522, 181, 30, 40}},
      {options.CheckAllTracks, {8, 400, 105, 24}}, {options.ClearAllTracks, {122, 400, 105, 24}},
      {options.OptionsOk, {450, 360, 108, 54}},
  };
  for (const Place& place : places)
    EXPECT_EQ(place.widget->geometry(), place.geometry) << place.widget->objectName().toStdString();
  EXPECT_EQ(options.emaxlabel->pos(), QPoint(255, 189));
  EXPECT_EQ(options.emaxlabel->text(), "Maximum performance lines =  ");
  EXPECT_EQ(options.CheckAllTracks->text(), "Chec&k All");
  EXPECT_EQ(options.ClearAllTracks->text(), "Clea&r All");
  // Every group fits without scrolling.
  EXPECT_LE(options.TrackOptions->visualRect(options.TrackOptions->model()->index(24, 0)).bottom(),
            options.TrackOptions->viewport()->height());
}

TEST_F(BrowserCommandsTest, ConfirmingUnchangedOptionsKeepsChecksAndSelectionAndDoesNotCutEPagesAgain) {
  Start();
  ASSERT_EQ(Texts().size(), 60u);
  List()->item(kA01Tam)->setCheckState(Qt::Unchecked);
  List()->item(kX01Tam)->setCheckState(Qt::Checked);
  List()->item(kX01Tam + 1)->setCheckState(Qt::Checked);
  ClickItem(kA02Tam);
  ASSERT_EQ(ShownPage(), "A02Tam");
  const std::vector<bool> checksBefore = Checks();
  // A later cut would start again from the twin and lose this.
  m_profile.Write(Base("E01Tam"), "page=E01Tam-kept.\r\n");

  m_form->checkALL->setFocus();
  ConfirmOptions();

  EXPECT_TRUE(m_messages.empty());
  EXPECT_TRUE(List()->hasFocus());
  EXPECT_EQ(m_form->State().settings.trackLetters, "ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(m_form->State().settings.reportLetters, "AXE");
  EXPECT_FALSE(m_form->State().applyPerfLimit);
  EXPECT_EQ(Checks(), checksBefore);
  EXPECT_EQ(m_form->Pages().selected, kA02Tam);
  ExpectListShowsTheModel();
  EXPECT_EQ(ShownPage(), "A02Tam");
  EXPECT_EQ(Page("E01Tam"), "page=E01Tam-kept.\r\n");
}

TEST_F(BrowserCommandsTest, ChangingTheMaximumCutsEveryListedEPageFromItsFullCopy) {
  Start();
  ASSERT_EQ(PerformanceLines(Page("E01Tam")), 7);  // cut at start-up
  ASSERT_EQ(PerformanceLines(Page("E01Aqu")), 5);

  ConfirmOptions([](TOptionsForm& options) {
    for (int i = 0; i < 4; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Down);
    EXPECT_EQ(options.emaxpanel->text(), "3");
  });
  EXPECT_EQ(m_form->State().settings.maxPerfLines, 3);
  EXPECT_TRUE(m_form->State().applyPerfLimit);
  EXPECT_EQ(PerformanceLines(Page("E01Tam")), 3);
  EXPECT_EQ(PerformanceLines(Page("E01Aqu")), 3);

  ConfirmOptions([](TOptionsForm& options) {
    EXPECT_EQ(options.emaxpanel->text(), "3");
    for (int i = 0; i < 4; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Up);
  });
  EXPECT_EQ(m_form->State().settings.maxPerfLines, 7);
  EXPECT_EQ(PerformanceLines(Page("E01Tam")), 7);
  EXPECT_EQ(PerformanceLines(Page("E01Aqu")), 5);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(BrowserCommandsTest, TheCloseBoxChangesNothingAndTheUpDownStopsAtOneAndFourteen) {
  Start();
  ClickItem(kA02Tam);
  const std::vector<std::string> textsBefore = Texts();
  const std::vector<bool> checksBefore = Checks();
  const Settings settingsBefore = m_form->State().settings;
  const std::string memoBefore = Memo();

  NextDialog([](QDialog& dialog) {
    auto& options = static_cast<TOptionsForm&>(dialog);
    for (int i = 0; i < 20; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Down);
    EXPECT_EQ(options.emaxpanel->text(), "1");
    for (int i = 0; i < 20; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Up);
    EXPECT_EQ(options.emaxpanel->text(), "14");
    Click(options.ClearAllTracks);
    options.ReportOptions->item(0)->setCheckState(Qt::Unchecked);
    dialog.close();
  });
  m_form->OptionsMenu->trigger();

  EXPECT_EQ(m_form->State().settings.maxPerfLines, settingsBefore.maxPerfLines);
  EXPECT_EQ(m_form->State().settings.trackLetters, settingsBefore.trackLetters);
  EXPECT_EQ(m_form->State().settings.reportLetters, settingsBefore.reportLetters);
  EXPECT_EQ(Texts(), textsBefore);
  EXPECT_EQ(Checks(), checksBefore);
  EXPECT_EQ(m_form->Pages().selected, kA02Tam);
  EXPECT_EQ(Memo(), memoBefore);

  // The next opening shows the stored values again.
  std::string panel;
  int checkedTracks = 0;
  NextDialog([&](QDialog&) {
    panel = Options().emaxpanel->text().toStdString();
    for (int i = 0; i < Options().TrackOptions->count(); ++i)
      checkedTracks += Options().TrackOptions->item(i)->checkState() == Qt::Checked;
  });
  m_form->OptionsMenu->trigger();
  EXPECT_EQ(panel, "7");
  EXPECT_EQ(checkedTracks, 25);
}

TEST_F(BrowserCommandsTest, NoTrackGivesAnEmptyListAndKeepsTheViewAndAllTracksBringTheListBack) {
  Start();
  ClickItem(kA02Tam);
  const std::string viewBefore = m_form->State().viewFileName;

  ConfirmOptions([](TOptionsForm& options) { Click(options.ClearAllTracks); });
  EXPECT_EQ(m_form->State().settings.trackLetters, "");
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(m_form->Pages().selected, -1);
  EXPECT_EQ(List()->count(), 0);
  EXPECT_EQ(ShownPage(), "A02Tam");
  EXPECT_EQ(m_form->State().viewFileName, viewBefore);

  // Nothing was selected: the refilled list keeps its own selection, the first page,
  // and shows it, rather than selecting its last filler.
  ConfirmOptions([](TOptionsForm& options) { Click(options.CheckAllTracks); });
  EXPECT_EQ(Texts().size(), 60u);
  EXPECT_EQ(m_form->Pages().selected, kE01Aqu);
  ExpectListShowsTheModel();
  EXPECT_EQ(ShownPage(), "E01Aqu");
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(BrowserCommandsTest, OptionsChooseTheListedKindsAndGroups) {
  Start();
  struct Case {
    std::array<bool, 4> kinds;  // A, X, E, B
    std::string groups;         // checked group letters
    std::vector<std::string> pages;
  };
  const Case cases[] = {
      {{false, true, true, false}, "AY", {"E01Aqu", "E01Tam"}},  // no X page without the A pages
      {{true, true, false, true}, "A", {"B01Tam", "A01Tam", "A02Tam", "X01Tam"}},
      {{false, false, true, false}, "Y", {"E01Aqu"}},
  };
  for (const Case& c : cases) {
    ConfirmOptions([&c](TOptionsForm& options) {
      for (int i = 0; i < 4; ++i)
        options.ReportOptions->item(i)->setCheckState(c.kinds[static_cast<std::size_t>(i)] ? Qt::Checked
                                                                                           : Qt::Unchecked);
      for (int i = 0; i < options.TrackOptions->count(); ++i) {
        const QChar letter = options.TrackOptions->item(i)->text()[1];
        options.TrackOptions->item(i)->setCheckState(QString::fromStdString(c.groups).contains(letter) ? Qt::Checked
                                                                                                       : Qt::Unchecked);
      }
    });
    std::vector<std::string> pages;
    for (const std::string& text : Texts())
      if (!text.empty() && (pages.empty() || pages.back() != text)) pages.push_back(text);
    EXPECT_EQ(pages, c.pages) << c.groups;
    ExpectListShowsTheModel();
  }
}

TEST_F(BrowserCommandsTest, EnterInTheOptionsDialogNeitherChecksNorConfirms) {
  Start();
  const Settings settingsBefore = m_form->State().settings;
  bool stillOpen = true;
  NextDialog([&](QDialog& dialog) {
    auto& options = static_cast<TOptionsForm&>(dialog);
    Click(options.ClearAllTracks);
    options.ReportOptions->item(3)->setCheckState(Qt::Checked);
    for (QWidget* focus :
         std::initializer_list<QWidget*>{options.TrackOptions, options.ReportOptions, options.emaxupdown, &dialog})
      for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        focus->setFocus();
        QTest::keyClick(focus, key);
      }
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    int checkedTracks = 0;
    for (int i = 0; i < options.TrackOptions->count(); ++i)
      checkedTracks += options.TrackOptions->item(i)->checkState() == Qt::Checked;
    EXPECT_EQ(checkedTracks, 0);
    EXPECT_EQ(options.ReportOptions->item(3)->checkState(), Qt::Checked);
    stillOpen = dialog.isVisible();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  });
  m_form->OptionsMenu->trigger();
  EXPECT_TRUE(stillOpen);
  // Closed with the close box: nothing was applied.
  EXPECT_EQ(m_form->State().settings.trackLetters, settingsBefore.trackLetters);
  EXPECT_EQ(m_form->State().settings.reportLetters, settingsBefore.reportLetters);
}

TEST_F(BrowserCommandsTest, OptionsListsShowEveryItemFromTheTopAtEachOpening) {
  Start();
  for (int opening = 0; opening < 2; ++opening) {
    NextDialog([&](QDialog& dialog) {
      auto& options = static_cast<TOptionsForm&>(dialog);
      for (QListWidget* list : {options.TrackOptions, options.ReportOptions}) {
        list->doItemsLayout();
        const QRect visible = list->viewport()->rect();
        EXPECT_EQ(list->visualRect(list->model()->index(0, 0)).top(), 0) << opening;
        EXPECT_TRUE(visible.contains(list->visualRect(list->model()->index(list->count() - 1, 0)))) << opening;
        EXPECT_FALSE(list->horizontalScrollBar()->isVisible()) << opening;
        // Leave it scrolled to the end for the next opening.
        list->setCurrentRow(list->count() - 1);
        list->scrollToBottom();
        list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
      }
    });
    m_form->OptionsMenu->trigger();
  }
}

// ---- Scratch editor ----

// The editor's lines as the user sees them.
std::vector<std::string> EditorBlocks(const TEditForm& editor) {
  std::vector<std::string> blocks;
  for (QTextBlock block = editor.EditMemo->document()->begin(); block.isValid(); block = block.next())
    blocks.push_back(block.text().toStdString());
  return blocks;
}

void TypeAtLineStart(TEditForm& editor, int line, const QString& typed) {
  QTextCursor cursor(editor.EditMemo->document()->findBlockByNumber(line));
  editor.EditMemo->setTextCursor(cursor);
  QTest::sendKeyEvent(QTest::Click, editor.EditMemo, Qt::Key_unknown, typed, Qt::NoModifier);
}

TEST_F(BrowserCommandsTest, ConfirmedScratchDropsTheMarkedHorseAndReloadsTheViewButNotViewFileName) {
  Start();
  ClickItem(kA01Tam);
  m_form->AReport->trigger();
  const std::string helpPath = m_form->State().viewFileName;
  ASSERT_EQ(helpPath, PagePath("Help/A-Report.HLP"));

  NextDialog([](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    TypeAtLineStart(editor, 5, QStringLiteral("!"));  // the horse at 1.0
    Click(editor.EditOK);
  });
  m_form->checkALL->setFocus();
  m_form->MenuEdit->trigger();

  EXPECT_TRUE(m_messages.empty());
  EXPECT_TRUE(List()->hasFocus());
  const std::string expected = Report("A01Tam", OddsTable({{" 1.0", " 1.0"}, {" 1.0", " 1.0"}}));
  EXPECT_EQ(Page("A01Tam"), expected);
  EXPECT_EQ(Memo(), ViewText(expected));
  EXPECT_EQ(m_form->State().viewFileName, helpPath);
  EXPECT_FALSE(std::filesystem::exists(PagePath("Vantrose.TMP")));
  EXPECT_EQ(Page("A0~Tam"), Report("A01Tam", OddsTable({{" 3.0", " 3.0"}, {" 3.0", " 3.0"}, {" 1.0", " 1.0"}})));
}

TEST_F(BrowserCommandsTest, ScratchClosedWithTheCloseBoxKeepsThePage) {
  Start();
  ClickItem(kA01Tam);
  const std::string pageBefore = Page("A01Tam");
  const std::string memoBefore = Memo();
  NextDialog([](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    TypeAtLineStart(editor, 5, QStringLiteral("!"));
    TypeAtLineStart(editor, 0, QStringLiteral("typed "));
    dialog.close();
  });
  m_form->MenuEdit->trigger();
  EXPECT_EQ(Page("A01Tam"), pageBefore);
  EXPECT_EQ(Memo(), memoBefore);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(BrowserCommandsTest, EscapeInTheScratchEditorKeepsItOpenWithTheEdits) {
  Start();
  ClickItem(kA01Tam);
  bool stillOpen = false;
  NextDialog([&](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    TypeAtLineStart(editor, 5, QStringLiteral("!"));  // the horse at 1.0
    for (QWidget* focus : std::initializer_list<QWidget*>{editor.EditMemo, editor.EditOK, &dialog}) {
      focus->setFocus();
      QTest::keyClick(focus, Qt::Key_Escape);
    }
    stillOpen = dialog.isVisible();
    EXPECT_EQ(EditorBlocks(editor)[5].front(), '!');
    Click(editor.EditOK);
  });
  m_form->MenuEdit->trigger();
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(Page("A01Tam"), Report("A01Tam", OddsTable({{" 1.0", " 1.0"}, {" 1.0", " 1.0"}})));
}

TEST_F(BrowserCommandsTest, EditorConfirmedWithoutAnEditLeavesThePageByteForByte) {
  Start();
  // Every byte value inside lines except the line ends 10 and 13 and the text end 26:
  // form feed and byte 2 (marker bytes), 0, 255 (a no-break space), box drawing.
  std::string page = "\x0c@A02Tam \x02 marker line\r\n";
  std::string line;
  for (int byte = 0; byte < 256; ++byte) {
    if (byte == 10 || byte == 13 || byte == 26) continue;
    line += static_cast<char>(byte);
    if (line.size() == 60) {
      page += line + "\r\n";
      line.clear();
    }
  }
  page += line + "\r\n\r\n  trailing blanks  \r\n";
  m_profile.Write(Base("A02Tam"), page);
  ClickItem(kA02Tam);

  std::size_t editorLines = 0;
  NextDialog([&](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    editorLines = EditorBlocks(editor).size();
    Click(editor.EditOK);
  });
  m_form->MenuEdit->trigger();
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(editorLines, 8u + 1u);  // the lines and the empty place after the last line end
  EXPECT_EQ(Page("A02Tam"), page);
  EXPECT_EQ(Memo(), ViewText(page));
}

TEST_F(BrowserCommandsTest, EditorSavesACharacterCodePage437CannotHoldAsAQuestionMark) {
  Start();
  ClickItem(kA02Tam);
  const std::string pageBefore = Page("A02Tam");
  NextDialog([](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    TypeAtLineStart(editor, 1, QString::fromUtf8("\u20AC\u00BD\u2502"));  // euro, one half, vertical bar
    Click(editor.EditOK);
  });
  m_form->MenuEdit->trigger();
  std::string expected = pageBefore;
  expected.insert(expected.find("page="), "?\xAB\xB3");
  EXPECT_EQ(Page("A02Tam"), expected);
}

TEST_F(BrowserCommandsTest, EditorTakesAPageOnlyUpToAByte26) {
  Start();
  // The line reading of every text ends at byte 26, so the editor never sees what follows.
  m_profile.Write(Base("A02Tam"),
                  "page=A02Tam.\r\nab\x1a"
                  "cd\r\nlost\r\n");
  ClickItem(kA02Tam);
  NextDialog([](QDialog& dialog) { Click(static_cast<TEditForm&>(dialog).EditOK); });
  m_form->MenuEdit->trigger();
  EXPECT_EQ(Page("A02Tam"), "page=A02Tam.\r\nab\r\n");
}

TEST_F(BrowserCommandsTest, ScratchOfAFillerIsReportedAndOpensNoEditor) {
  Start();
  ClickItem(kA02Tam);
  ClickItem(kA02Tam + 1);  // a filler
  const std::map<std::string, std::string> filesBefore = WorkingFiles();
  bool opened = false;
  NextDialog([&](QDialog&) { opened = true; });
  m_form->MenuEdit->trigger();
  EXPECT_FALSE(opened);
  EXPECT_EQ(m_messages, std::vector<std::string>{"File not found"});
  EXPECT_EQ(WorkingFiles(), filesBefore);
  EXPECT_EQ(ShownPage(), "A02Tam");
}

TEST_F(BrowserCommandsTest, EditorHasItsControlsAtTheirPlaces) {
  Start();
  const TEditForm& editor = Editor();
  EXPECT_EQ(editor.windowTitle(), "Edit");
  EXPECT_EQ(editor.EditMemo->geometry(), QRect(118, 0, 660, 420));
  EXPECT_EQ(editor.EditOK->geometry(), QRect(0, 360, 108, 54));
  EXPECT_EQ(editor.EditOK->text(), "OK");
  EXPECT_FALSE(editor.EditMemo->isReadOnly());
}

// ---- Help ----

std::string HelpText(const TempFolder& profile, const std::string& relative) {
  return ViewText(profile.Read("RavelstowData/Vantrose/" + relative));
}

TEST_F(BrowserCommandsTest, HelpReplacesThePageAndAClickShowsThePageAgain) {
  Start();
  ClickItem(kA02Tam);
  const std::vector<bool> checksBefore = Checks();

  m_form->AReport->trigger();
  EXPECT_EQ(Memo(), HelpText(m_profile, "Help/A-Report.HLP"));
  EXPECT_EQ(m_form->State().viewFileName, PagePath("Help/A-Report.HLP"));
  EXPECT_EQ(m_form->Pages().selected, kA02Tam);
  EXPECT_EQ(Checks(), checksBefore);

  ClickItem(kA02Tam);
  EXPECT_EQ(ShownPage(), "A02Tam");
  EXPECT_EQ(m_form->State().viewFileName, PagePath("A02Tam"));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(BrowserCommandsTest, OpeningTheHelpMenuShowsTheGeneralHelpOnlyWhenItIsThere) {
  Start();
  ClickItem(kA02Tam);
  const auto openHelpMenu = [this] {
    m_form->N1->popup(QPoint(0, 0));
    m_form->N1->hide();
  };

  openHelpMenu();
  EXPECT_EQ(ShownPage(), "A02Tam");

  m_profile.Write(Base("Help/@-Report.HLP"), "General help \xB3 box\r\n");
  openHelpMenu();
  EXPECT_EQ(Memo(), "General help \u2502 box");
  EXPECT_EQ(m_form->State().viewFileName, PagePath("Help/@-Report.HLP"));

  openHelpMenu();
  m_form->EReport->trigger();
  EXPECT_EQ(Memo(), HelpText(m_profile, "Help/E-Report.HLP"));

  // A help file deleted while the program runs: the item does nothing, silently.
  std::filesystem::remove(PagePath("Help/A-Report.HLP"));
  m_form->AReport->trigger();
  EXPECT_EQ(Memo(), HelpText(m_profile, "Help/E-Report.HLP"));
  EXPECT_EQ(m_form->State().viewFileName, PagePath("Help/E-Report.HLP"));
  EXPECT_TRUE(m_messages.empty());
}

// ---- Archive ----

TEST_F(BrowserCommandsTest, SaveThenLoadGivesBackTheCheckedPagesWithDefaultChecks) {
  Start();
  ConfirmOptions([](TOptionsForm& options) {
    for (int i = 0; i < 4; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Down);
  });
  ASSERT_EQ(PerformanceLines(Page("E01Tam")), 3);
  List()->item(kE01Aqu)->setCheckState(Qt::Unchecked);
  List()->item(kX01Tam)->setCheckState(Qt::Checked);
  const std::string saved = Page("E01Tam") + Page("A01Tam") + Page("A02Tam") + Page("X01Tam");

  m_answers = {"A.B.C", "", "MAY30.TXT"};  // rejected, then empty: the command ends
  m_form->FileMenuSave->trigger();
  EXPECT_EQ(m_questions, std::vector<std::string>(2, "Save File|Save Vantrose.TXT as: "));
  EXPECT_TRUE(std::filesystem::is_empty(m_folders.baseFolder + "Archive"));

  m_form->FileMenuSave->trigger();
  ASSERT_TRUE(m_messages.empty());
  EXPECT_EQ(m_profile.Read(Base("Archive/MAY30.TXT")), saved);

  // Back to 7 lines, other checks and another page shown before the load.
  ConfirmOptions([](TOptionsForm& options) {
    for (int i = 0; i < 4; ++i) QTest::keyClick(options.emaxupdown, Qt::Key_Up);
  });
  QTest::mouseClick(m_form->clearALL, Qt::LeftButton);
  ClickItem(kA02Tam);

  m_questions.clear();
  m_answers = {"MAY30.TXT"};
  m_form->FileMenuLoad->trigger();
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(m_questions, std::vector<std::string>{"Load File|Load Vantrose.TXT from: "});
  EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")), saved);
  EXPECT_FALSE(m_profile.Exists(Base("E01Aqu")));
  std::vector<std::string> expected(45);
  expected[0] = "E01Tam";
  expected[15] = "A01Tam";
  expected[16] = "A02Tam";
  expected[30] = expected[31] = "X01Tam";
  EXPECT_EQ(Texts(), expected);
  std::vector<bool> defaults(45, false);
  defaults[0] = defaults[15] = defaults[16] = true;
  EXPECT_EQ(Checks(), defaults);
  ExpectListShowsTheModel();
  EXPECT_EQ(ShownPage(), "E01Tam");
  EXPECT_EQ(m_form->State().viewFileName, PagePath("E01Tam"));
  // The archive holds the E page as it was cut: 3 lines, although the maximum is 7 again.
  EXPECT_EQ(PerformanceLines(Page("E01Tam")), 3);
  EXPECT_TRUE(m_form->State().applyPerfLimit);
}

TEST_F(BrowserCommandsTest, ArchiveFileCarriesTheNameAsTypedAndANameOutsideTheCodePageIsAskedAgain) {
  Start();
  m_answers = {"EURO\u20AC", "caf\u00E9.\u00BD"};
  m_form->FileMenuSave->trigger();
  EXPECT_EQ(m_questions.size(), 2u);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_TRUE(m_profile.Exists(Base("Archive/caf\u00E9.\u00BD")));
  EXPECT_FALSE(m_profile.Exists(Base("Archive/EURO\u20AC")));
}

TEST_F(BrowserCommandsTest, SavingWithoutTheArchiveFolderIsReportedAsInvalidFilename) {
  Start();
  std::filesystem::remove_all(m_profile.Path() + Base("Archive"));  // after the start, which would ask for it
  m_answers = {"RACES"};
  m_form->FileMenuSave->trigger();
  EXPECT_EQ(m_messages, std::vector<std::string>{"Invalid filename: " + PagePath("Archive/RACES")});
  EXPECT_FALSE(m_profile.Exists(Base("Archive")));
}

TEST_F(BrowserCommandsTest, LoadingANameThatDoesNotExistChangesNothing) {
  Start();
  ClickItem(kA02Tam);
  List()->item(kX01Tam)->setCheckState(Qt::Checked);
  const std::vector<bool> checksBefore = Checks();
  const std::vector<std::string> textsBefore = Texts();
  const std::string memoBefore = Memo();
  const std::map<std::string, std::string> filesBefore = WorkingFiles();

  m_answers = {"NOSUCH"};
  m_form->FileMenuLoad->trigger();
  EXPECT_EQ(m_questions.size(), 1u);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(Texts(), textsBefore);
  EXPECT_EQ(Checks(), checksBefore);
  EXPECT_EQ(m_form->Pages().selected, kA02Tam);
  EXPECT_EQ(Memo(), memoBefore);
  EXPECT_EQ(WorkingFiles(), filesBefore);
}

TEST_F(BrowserCommandsTest, AnUnreadableUnrelatedFileInTheWorkingFolderDoesNotFailALoad) {
  Start();
  m_profile.Write(Base("Archive/RACES"), Report("A05Aqu", "archived A\r\n"));
  m_profile.Write(Base("Notes.DOC"), "the user's own file\r\n");
  FaultInjection::FailPath(PagePath("Notes.DOC"), EACCES);  // as for a file the user may not read
  m_answers = {"RACES"};
  m_form->FileMenuLoad->trigger();
  FaultInjection::Disarm();
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(Texts().front(), "A05Aqu");
  EXPECT_EQ(ShownPage(), "A05Aqu");
  EXPECT_EQ(Page("Notes.DOC"), "the user's own file\r\n");
}

TEST_F(BrowserCommandsTest, ALoadFailingPartWayLeavesTextPagesListAndStateAsTheyWere) {
  Start();
  m_profile.Write(Base("Archive/RACES"), Report("A05Aqu", "archived A\r\n") + Report("E05Aqu", HorseBlock(9)));
  ClickItem(kA02Tam);
  List()->item(kX01Tam)->setCheckState(Qt::Checked);
  const std::vector<bool> checksBefore = Checks();
  const std::vector<std::string> textsBefore = Texts();
  const std::string memoBefore = Memo();
  const std::string viewBefore = m_form->State().viewFileName;
  const std::size_t reportsBefore = m_form->State().reportFiles.files.size();
  const std::map<std::string, std::string> filesBefore = WorkingFiles();

  int failures = 0;
  for (long operation = 1; operation < 1000; ++operation) {
    m_messages.clear();
    m_answers = {"RACES"};
    FaultInjection::Arm(operation, EIO);
    m_form->FileMenuLoad->trigger();
    FaultInjection::Disarm();
    if (Texts() != textsBefore) break;  // the load ran to its end (showing its first page may still fail)
    ++failures;
    ASSERT_EQ(m_messages.size(), 1u) << operation;
    ASSERT_EQ(m_messages[0].rfind("I/O error " + std::to_string(EIO) + ": " + BaseFolder(), 0), 0u) << m_messages[0];
    ASSERT_EQ(Texts(), textsBefore) << operation;
    ASSERT_EQ(Checks(), checksBefore) << operation;
    ASSERT_EQ(m_form->Pages().selected, kA02Tam) << operation;
    ASSERT_EQ(Memo(), memoBefore) << operation;
    ASSERT_EQ(m_form->State().viewFileName, viewBefore) << operation;
    ASSERT_EQ(m_form->State().reportFiles.files.size(), reportsBefore) << operation;
    ASSERT_EQ(WorkingFiles(), filesBefore) << operation;
  }
  EXPECT_GT(failures, 10);
  // The last round loaded the archive.
  EXPECT_EQ(Texts().front(), "E05Aqu");
  EXPECT_EQ(PerformanceLines(Page("E05Aqu")), 7);
}

}  // namespace
