// Nothing clipped: every caption of the main window and of each dialog fits its
// control in the fonts this system really resolves, and every control lies inside
// its parent. The main window is walked in every print mode, each dialog as its
// command opens it, every check box in both of its states and every drop-down list
// in each of its choices.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/working_folders.h"
#include "browser/ui/page_list_box.h"
#include "canvas/ui/simo_options_dialog.h"
#include "pcl/print_commands.h"
#include "platform/system/fonts.h"
#include "platform/system/printing_services.h"
#include "platform/system/up_down.h"
#include "sample_day/sample_day.h"
#include "shell/ui/main_window.h"
#include "support/fake_platform.h"
#include "support/working_folder.h"

namespace {

// What a caption draws: "&&" is an ampersand, a single "&" only underlines the next
// letter, and blanks at the end draw nothing.
QString DrawnText(const QString& caption) {
  QString drawn;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    drawn += caption[i];
  }
  while (!drawn.isEmpty() && drawn.back().isSpace()) drawn.chop(1);
  return drawn;
}

// The controls of `window` of one kind, not those of the dialogs it owns.
template <typename Control>
std::vector<Control*> ControlsOf(QWidget* window) {
  std::vector<Control*> controls;
  for (Control* control : window->findChildren<Control*>())
    if (control->window() == window) controls.push_back(control);
  return controls;
}

std::string Name(const QWidget* widget) {
  const QString name =
      widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
  return name.toStdString();
}

// Walks a window and writes down every caption that does not fit and every control
// that leaves its parent.
class FitWalk {
 public:
  explicit FitWalk(std::map<std::string, std::string>& misfits) : m_misfits(misfits) {}

  void Window(QWidget* window, const std::string& state) {
    m_state = state;
    Control(window);
    for (QWidget* widget : ControlsOf<QWidget>(window))
      if (widget->isVisibleTo(window)) Control(widget);
  }

 private:
  // Each misfit once, with the first state it was seen in.
  void Misfit(const QWidget* widget, const std::string& what) {
    m_misfits.emplace(Name(widget->window()) + "/" + Name(widget) + " " + what, m_state);
  }

  void Control(QWidget* widget) {
    if (!widget->isWindow()) Inside(widget);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      Caption(button, button->text(), button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button),
              Qt::AlignCenter);
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
      QStyleOptionButton option;
      option.initFrom(box);
      option.text = box->text();
      Caption(box, box->text(), box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box),
              Qt::AlignLeft | Qt::AlignVCenter);
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      QStyleOptionButton option;
      option.initFrom(radio);
      option.text = radio->text();
      Caption(radio, radio->text(), radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio),
              Qt::AlignLeft | Qt::AlignVCenter);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      const int margin = label->margin();
      Caption(label, label->text(), label->contentsRect().adjusted(margin, margin, -margin, -margin),
              label->alignment());
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      GroupTitle(group);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      ComboItems(combo);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
      Items(list);
    } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
      MenuItems(bar);
    }
  }

  void Inside(QWidget* widget) {
    const QRect parentRect(QPoint(0, 0), widget->parentWidget()->size());
    if (!parentRect.contains(widget->geometry()))
      Misfit(widget, "lies outside its parent: " + RectText(widget->geometry()) + " in " + RectText(parentRect));
  }

  // The caption's drawn width and its ink height fit `room`, and no control stacked
  // above it covers the place where it is drawn.
  void Caption(QWidget* widget, const QString& caption, const QRect& room, Qt::Alignment alignment) {
    const QString drawn = DrawnText(caption);
    if (drawn.isEmpty()) return;
    const QFontMetrics metrics(widget->font());
    const int width = metrics.horizontalAdvance(drawn);
    const int inkHeight = metrics.tightBoundingRect(drawn).height();
    const std::string quoted = "\"" + drawn.toStdString() + "\" (" + QFontInfo(widget->font()).family().toStdString() +
                               " " + std::to_string(QFontInfo(widget->font()).pixelSize()) + " px)";
    if (width > room.width() || inkHeight > room.height())
      Misfit(widget, quoted + " needs " + std::to_string(width) + " x " + std::to_string(inkHeight) + ", has " +
                         std::to_string(room.width()) + " x " + std::to_string(room.height()));
    const QRect drawnRect =
        QStyle::alignedRect(widget->layoutDirection(), alignment, QSize(width, metrics.height()), room) & room;
    CoveredBySiblings(widget, drawnRect, quoted);
  }

  // Siblings created (or raised) later are drawn over the control.
  void CoveredBySiblings(QWidget* widget, const QRect& drawnRect, const std::string& quoted) {
    QWidget* parent = widget->parentWidget();
    if (parent == nullptr || widget->isWindow()) return;
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(widget) + 1; i < siblings.size(); ++i) {
      auto* sibling = qobject_cast<QWidget*>(siblings[i]);
      if (sibling == nullptr || sibling->isWindow() || !sibling->isVisibleTo(parent)) continue;
      const QRect over = sibling->geometry().translated(-widget->pos());
      if (over.intersects(drawnRect)) Misfit(widget, quoted + " is covered by " + Name(sibling));
    }
  }

  void GroupTitle(QGroupBox* group) {
    if (group->title().isEmpty()) return;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = group->alignment();
    const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    if (!group->rect().contains(title))
      Misfit(group, "title \"" + group->title().toStdString() + "\" needs " + RectText(title) + " in " +
                        RectText(group->rect()));
  }

  // Whichever item a drop-down list shows, its text fits the box's text field.
  void ComboItems(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.subControls = QStyle::SC_All;
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    for (int row = 0; row < combo->count(); ++row)
      Caption(combo, combo->itemText(row), field, Qt::AlignLeft | Qt::AlignVCenter);
  }

  // Each item's text fits the text area the style gives it beside its check box. A
  // list that does not wrap into columns shows all its items without scrolling.
  void Items(QListWidget* list) {
    list->doItemsLayout();
    const QRect viewport = list->viewport()->rect();
    const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (int row = 0; row < list->count(); ++row) {
      const QListWidgetItem* item = list->item(row);
      const QRect itemRect = list->visualRect(list->model()->index(row, 0));
      QStyleOptionViewItem option;
      option.initFrom(list->viewport());
      option.widget = list;
      option.rect = itemRect;
      option.font = list->font();
      option.fontMetrics = QFontMetrics(list->font());
      option.text = item->text();
      option.features = QStyleOptionViewItem::HasDisplay;
      if (item->flags() & Qt::ItemIsUserCheckable) {
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        option.checkState = item->checkState();
      }
      option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
      const QRect textRoom = list->style()
                                 ->subElementRect(QStyle::SE_ItemViewItemText, &option, list)
                                 .adjusted(textMargin, 0, -textMargin, 0);
      const std::string where = "item " + std::to_string(row) + " \"" + item->text().toStdString() + "\"";
      const int width = option.fontMetrics.horizontalAdvance(DrawnText(item->text()));
      const int inkHeight = option.fontMetrics.tightBoundingRect(DrawnText(item->text())).height();
      if (width > textRoom.width() || inkHeight > textRoom.height())
        Misfit(list, where + " needs " + std::to_string(width) + " x " + std::to_string(inkHeight) + ", has " +
                         std::to_string(textRoom.width()) + " x " + std::to_string(textRoom.height()));
      if (!list->isWrapping() && !viewport.contains(itemRect))
        Misfit(list, where + " lies outside the visible area: " + RectText(itemRect) + " in " + RectText(viewport));
    }
    if (!list->isWrapping() && list->horizontalScrollBar()->isVisible()) Misfit(list, "shows a sideways scroll bar");
  }

  void MenuItems(QMenuBar* bar) {
    for (QAction* action : bar->actions()) {
      const QRect place = bar->actionGeometry(action);
      if (action->isVisible() && (place.isEmpty() || !bar->rect().contains(place)))
        Misfit(bar, "item \"" + action->text().toStdString() + "\" lies outside the bar: " + RectText(place));
    }
    for (QToolButton* extension : bar->findChildren<QToolButton*>())
      if (extension->isVisibleTo(bar)) Misfit(bar, "hides items behind its extension button");
  }

  static std::string RectText(const QRect& rect) {
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " + std::to_string(rect.width()) + " x " +
           std::to_string(rect.height());
  }

  std::map<std::string, std::string>& m_misfits;  // what, the state it was seen in
  std::string m_state;
};

// Printers with names of an ordinary length, so the printer options list something.
class TwoPrinters final : public PrinterCatalogue {
 public:
  std::vector<std::string> PrinterNames() const override { return {"HP_LaserJet_4250", "Brother_HL_L2350DW_series"}; }
  std::string DefaultPrinterName() const override { return "HP_LaserJet_4250"; }
};

class WindowFitTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    m_services.printing = SystemPrintingServices();
    m_services.printing.catalogue = std::make_unique<TwoPrinters>();
    m_services.printing.currentPrinter = std::make_unique<CurrentPrinter>(*m_services.printing.catalogue);
  }

  TMainForm& Start() {
    const std::string text = MakeSampleDayText(FindResource("Z"), SampleDayOptions{});
    m_profile.Write(Base("Data/Vantrose.DAT"), MakeRaceDayData(text, kSampleRaceDay));
    m_program = StartHere();
    if (!m_program) throw std::runtime_error("the program did not start");
    TMainForm& form = *m_program->mainForm;
    form.ReportListBox->doItemsLayout();
    return form;
  }

  // Walks `window`, then again with each check box and each list's check marks turned
  // the other way, and leaves them as they were.
  void WalkInEveryCheckState(QWidget* window, const std::string& state) {
    FitWalk walk(m_misfits);
    walk.Window(window, state);
    for (QCheckBox* box : ControlsOf<QCheckBox>(window)) {
      box->toggle();
      walk.Window(window, state + ", " + Name(box) + (box->isChecked() ? " checked" : " cleared"));
      box->toggle();
    }
    for (QListWidget* list : ControlsOf<QListWidget>(window)) {
      std::vector<Qt::CheckState> before;
      for (int row = 0; row < list->count(); ++row) before.push_back(list->item(row)->checkState());
      for (const Qt::CheckState mark : {Qt::Checked, Qt::Unchecked}) {
        for (int row = 0; row < list->count(); ++row) list->item(row)->setCheckState(mark);
        walk.Window(window, state + ", " + Name(list) + (mark == Qt::Checked ? " all checked" : " all cleared"));
      }
      for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(before[static_cast<std::size_t>(row)]);
    }
  }

  // The next dialog the main window opens is walked as it shows and then closed with
  // its close box.
  void WalkNextDialog(TMainForm& form, const std::string& state, bool& opened) {
    form.RunModal = [this, state, &opened](QDialog& dialog) {
      opened = true;
      dialog.show();
      QCoreApplication::processEvents();
      WalkInEveryCheckState(&dialog, state);
      dialog.close();
      return static_cast<int>(QDialog::Rejected);
    };
  }

  std::string Misfits() const {
    std::string text;
    for (const auto& [misfit, state] : m_misfits) text += "\n  " + misfit + " (" + state + ")";
    return text;
  }

  std::unique_ptr<Program> m_program;
  std::map<std::string, std::string> m_misfits;
};

TEST(WindowFonts, EveryFontOfTheTableIsInstalled) {
  for (const char* name : {"Courier New", "Lucida Console", "Consolas", "Terminal", "Lucida Sans",
                           "Lucida Sans Unicode", "MS Sans Serif", "Small Fonts", "Unknown Font"}) {
    const QFont font = WindowFont(name, 16);
    EXPECT_EQ(QFontInfo(font).family(), InstalledFamily(name)) << name << ": the system drew it in another family";
    EXPECT_EQ(QFontInfo(font).pixelSize(), 16) << name;
  }
}

TEST_F(WindowFitTest, MainWindowCaptionsFitInEveryPrintMode) {
  TMainForm& form = Start();
  ASSERT_TRUE(m_messages.empty());
  ASSERT_NE(form.RaceDate->text(), "Race Date");
  for (int step = 0; step < static_cast<int>(PrintModeNames.size()); ++step) {
    form.FontSelect->Step(+1);
    WalkInEveryCheckState(&form, "print mode " + std::to_string(form.State().printMode));
  }
  // While ListBox1 is pressed the counter shows the job number.
  QTest::mousePress(form.ListBox1->viewport(), Qt::LeftButton);
  WalkInEveryCheckState(&form, "ListBox1 pressed");
  QTest::mouseRelease(form.ListBox1->viewport(), Qt::LeftButton);
  EXPECT_TRUE(m_misfits.empty()) << Misfits();
}

TEST_F(WindowFitTest, DialogCaptionsFitAsTheirCommandsOpenThem) {
  TMainForm& form = Start();
  struct Opening {
    const char* state;
    std::function<void()> open;
  };
  const auto modeSelected = [&form](int printMode) {
    while (form.State().printMode != printMode) form.FontSelect->Step(+1);
  };
  const Opening openings[] = {
      {"options", [&] { form.OptionsMenu->trigger(); }},
      {"scratch editor", [&] { form.MenuEdit->trigger(); }},
      {"printer options",
       [&] {
         modeSelected(4);
         QTest::mouseClick(form.SpinFont, Qt::LeftButton);
       }},
      {"printer setup",
       [&] {
         modeSelected(3);
         QTest::mouseClick(form.SpinFont, Qt::LeftButton);
       }},
      {"schedule options", [&] { QTest::mouseClick(form.options, Qt::LeftButton); }},
      {"preview, WIN mode",
       [&] {
         modeSelected(3);
         form.PrintPreviewMenu->trigger();
       }},
      {"preview, PCL mode",
       [&] {
         modeSelected(7);
         form.PrintPreviewMenu->trigger();
       }},
  };
  for (const Opening& opening : openings) {
    bool opened = false;
    WalkNextDialog(form, opening.state, opened);
    opening.open();
    EXPECT_TRUE(opened) << opening.state;
  }
  EXPECT_TRUE(m_messages.empty());
  EXPECT_TRUE(m_misfits.empty()) << Misfits();
}

}  // namespace
