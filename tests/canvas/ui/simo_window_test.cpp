// The simulcast schedule options dialog and the main window's schedule commands,
// offscreen, on a temporary profile with a race day of three tracks and no printer.
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "browser/ui/page_list_box.h"
#include "canvas/ui/simo_options_dialog.h"
#include "platform/desktop_shortcut.h"
#include "platform/system/printing_services.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

// ---- The dialog ----

// What the dialog shows, as one comparable line: position/panel of each up-down, and the box.
std::string ShownOf(const TSimoOpts& dialog) {
  return std::to_string(dialog.OptimumLines->Position()) + "/" + dialog.OptimumPanel->text().toStdString() + " " +
         std::to_string(dialog.MaximumLines->Position()) + "/" + dialog.MaximumPanel->text().toStdString() +
         (dialog.x2->isChecked() ? " 2-up" : "");
}

std::string OptionsText(std::uint16_t optimum, std::uint16_t maximum, bool twoUp) {
  return std::to_string(optimum) + " " + std::to_string(maximum) + (twoUp ? " 2-up" : "");
}

std::string WorkingOf(const TSimoOpts& dialog) {
  const SimoOptions& values = dialog.Values();
  return OptionsText(values.optimumLines, values.maximumLines, values.twoUp);
}

class SimoOptsDialog : public ::testing::Test {
 protected:
  std::string Shown() const { return ShownOf(m_dialog); }
  std::string Working() const { return WorkingOf(m_dialog); }

  std::vector<std::string> m_messages;
  TSimoOpts m_dialog{nullptr, [this](const std::string& text) { m_messages.push_back(text); }};
};

TEST_F(SimoOptsDialog, ControlsSitAtTheirPlacesWithCaptionsAndInitialValues) {
  EXPECT_EQ(m_dialog.objectName(), "SimoOpts");
  EXPECT_EQ(m_dialog.windowTitle(), "SimoOpts");
  EXPECT_EQ(m_dialog.size(), QSize(640, 480));
  struct Expected {
    QWidget* widget;
    const char* name;
    QRect geometry;
  };
  const Expected places[] = {
      {m_dialog.OPTIMUMlabel, "OPTIMUMlabel", {120, 60, 300, 60}},
      {m_dialog.OptimumPanel, "OptimumPanel", {420, 60, 60, 60}},
      {m_dialog.OptimumLines, "OptimumLines", {480, 60, 60, 60}},
      {m_dialog.MAXIMUMlabel, "MAXIMUMlabel", {120, 150, 300, 60}},
      {m_dialog.MaximumPanel, "MaximumPanel", {420, 150, 60, 60}},
      {m_dialog.MaximumLines, "MaximumLines", {480, 150, 60, 60}},
      {m_dialog.x2, "x2", {120, 255, 360, 60}},
      {m_dialog.OK, "OK", {450, 360, 90, 60}},
  };
  for (const Expected& place : places) {
    EXPECT_EQ(place.widget->objectName(), place.name);
    EXPECT_EQ(place.widget->geometry(), place.geometry) << place.name;
  }
  EXPECT_EQ(m_dialog.OPTIMUMlabel->text(), "OPTIMUM lines per page");
  EXPECT_EQ(m_dialog.MAXIMUMlabel->text(), "MAXIMUM lines per page");
  EXPECT_EQ(m_dialog.x2->text(), "Use 2-up format if it fits on a single page");
  EXPECT_EQ(m_dialog.OK->text(), "OK");
  for (const UpDown* upDown : {m_dialog.OptimumLines, m_dialog.MaximumLines}) {
    EXPECT_EQ(upDown->Minimum(), 32);
    EXPECT_EQ(upDown->Maximum(), 64);
  }
  EXPECT_EQ(Shown(), "32/32 64/64");
  EXPECT_EQ(Working(), "32 64");
}

TEST_F(SimoOptsDialog, UpDownsStepByFourAndDragEachOther) {
  m_dialog.Load({32, 40, false});
  struct Step {
    UpDown* upDown;
    int direction;
    const char* shown;
  };
  const Step steps[] = {
      {m_dialog.OptimumLines, +1, "36/36 40/40"}, {m_dialog.OptimumLines, +1, "40/40 40/40"},
      {m_dialog.OptimumLines, +1, "44/44 44/44"},  // the maximum comes up with the optimum
      {m_dialog.MaximumLines, +1, "44/44 48/48"}, {m_dialog.MaximumLines, -1, "44/44 44/44"},
      {m_dialog.MaximumLines, -1, "40/40 40/40"},  // the optimum comes down with the maximum
      {m_dialog.OptimumLines, -1, "36/36 40/40"},
  };
  for (const Step& step : steps) {
    step.upDown->Step(step.direction);
    EXPECT_EQ(Shown(), step.shown);
  }
  EXPECT_EQ(Working(), "36 40");

  for (int i = 0; i < 10; ++i) m_dialog.MaximumLines->Step(+1);  // held at the top of the range
  EXPECT_EQ(Shown(), "36/36 64/64");
  for (int i = 0; i < 10; ++i) m_dialog.MaximumLines->Step(-1);
  EXPECT_EQ(Shown(), "32/32 32/32");
}

TEST_F(SimoOptsDialog, CheckBoxSetsTheWorkingTwoUpAndLoadReplacesEveryValue) {
  m_dialog.x2->click();
  EXPECT_EQ(Working(), "32 64 2-up");
  m_dialog.Load({48, 52, false});
  EXPECT_EQ(Shown(), "48/48 52/52");
  EXPECT_EQ(Working(), "48 52");
  m_dialog.Load({36, 60, true});
  EXPECT_EQ(Shown(), "36/36 60/60 2-up");
  EXPECT_EQ(Working(), "36 60 2-up");
}

void SendKey(QWidget* receiver, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(receiver, &press);
  QCoreApplication::sendEvent(receiver, &release);
}

TEST_F(SimoOptsDialog, KeysAddressedToTheDialogItselfShowTheirMessages) {
  ASSERT_EQ(m_dialog.focusWidget(), nullptr);
  SendKey(&m_dialog, Qt::Key_A, QStringLiteral("a"));
  EXPECT_EQ(m_messages, (std::vector<std::string>{"KEYDOWN", "KEYPRESS", "KEYUP"}));
  m_messages.clear();
  SendKey(&m_dialog, Qt::Key_F5, QString());  // types no character
  EXPECT_EQ(m_messages, (std::vector<std::string>{"KEYDOWN", "KEYUP"}));
  EXPECT_FALSE(m_dialog.isVisible());
}

TEST_F(SimoOptsDialog, KeysTypedIntoAControlShowNoMessage) {
  m_dialog.show();
  m_dialog.OptimumLines->setFocus();
  ASSERT_EQ(m_dialog.focusWidget(), m_dialog.OptimumLines);
  SendKey(m_dialog.OptimumLines, Qt::Key_Up, QString());           // taken by the up-down
  SendKey(m_dialog.OptimumLines, Qt::Key_A, QStringLiteral("a"));  // not taken, passed up to the dialog
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(Shown(), "36/36 64/64");
  m_dialog.hide();
}

// ---- The main window's commands ----

// A day of three tracks: "A01Tam", "A01Kee" and "A01GPx", with the sample schedule.
class SimoCommands : public WorkingFolderTest {
 protected:
  void SetUp() override {
    m_profile.Write(Base("Vantrose.TXT"),
                    "\x0c@A01Tam race one\r\nTam page\r\n\x0c@A01Kee race one\r\nKee page\r\n"
                    "\x0c@A01GPx race one\r\nGPx page\r\n");
    m_printing.catalogue = std::make_unique<NoPrinters>();
    m_printing.currentPrinter = std::make_unique<CurrentPrinter>(*m_printing.catalogue);
    m_printing.printer = std::make_unique<QPrinter>();
    m_printing.spooler = MakeSystemSpooler();
    m_form = std::make_unique<TMainForm>(m_folders, m_showMessage, m_shortcut, m_printing);
    m_dialog = new TSimoOpts(m_form.get(), m_showMessage);
    m_form->SetDialogs(nullptr, nullptr, nullptr, m_dialog);
    ASSERT_TRUE(m_messages.empty()) << m_messages.front();
  }

  void SetChecked(const std::string& itemText, bool checked) {
    const QList<QListWidgetItem*> found =
        m_form->ReportListBox->findItems(QString::fromStdString(itemText), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << itemText;
    found.front()->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }

  // The lines of `schedule` (CR LF ended) of the tracks `codes`, in order.
  static std::string ScheduleOf(const std::string& schedule, const std::vector<std::string>& codes) {
    std::string kept;
    std::size_t start = 0;
    const std::string& sample = schedule;
    while (start < sample.size()) {
      const std::size_t end = sample.find("\r\n", start);
      const std::string line = sample.substr(start, end - start);
      for (const std::string& code : codes)
        if (line.substr(19, 3) == code) kept += line + "\r\n";
      start = end + 2;
    }
    return kept;
  }

  // Opens the options dialog through its button; `drive` works the open dialog.
  void OpenOptions(const std::function<void(TSimoOpts&)>& drive) {
    bool driven = false;
    QTimer::singleShot(0, m_dialog, [&] {
      driven = true;
      drive(*m_dialog);
    });
    m_form->options->click();
    EXPECT_TRUE(driven);
    EXPECT_FALSE(m_dialog->isVisible());
  }

  std::string StoredOptions() const {
    const AppState& state = m_form->State();
    return OptionsText(state.simoOptimumLines, state.simoMaximumLines, state.simoTwoUp);
  }

  ShowMessageFn m_showMessage = [this](const std::string& text) { m_messages.push_back(text); };
  NoShortcut m_shortcut;
  PrintingServices m_printing;
  std::unique_ptr<TMainForm> m_form;
  TSimoOpts* m_dialog = nullptr;
};

TEST_F(SimoCommands, OkKeepsTheDialogValuesAndTheCloseBoxLeavesThemAsTheyWere) {
  OpenOptions([](TSimoOpts& dialog) {
    dialog.OptimumLines->Step(+1);
    dialog.x2->click();
    dialog.OK->click();
  });
  EXPECT_EQ(StoredOptions(), "36 64 2-up");

  OpenOptions([](TSimoOpts& dialog) {
    EXPECT_EQ(WorkingOf(dialog), "36 64 2-up");  // loaded from the stored values
    dialog.MaximumLines->Step(-1);
    dialog.x2->click();
    dialog.reject();  // the close box
  });
  EXPECT_EQ(StoredOptions(), "36 64 2-up");

  // The values given up with the close box do not come back with the next opening.
  OpenOptions([](TSimoOpts& dialog) {
    EXPECT_EQ(WorkingOf(dialog), "36 64 2-up");
    dialog.accept();
  });
  EXPECT_EQ(StoredOptions(), "36 64 2-up");
}

TEST_F(SimoCommands, PrintWritesTheCheckedTracksScheduleAndReportsAMissingPrinter) {
  const std::string sample = m_profile.Read(Base("SimoDump.LST"));
  SetChecked("A01GPx", false);
  const QString pageView = m_form->MainMemo->toPlainText();
  const std::string viewFile = m_form->State().viewFileName;
  ASSERT_FALSE(viewFile.empty());

  m_form->PrintSimo->click();

  const std::string expected = ScheduleOf(sample, {"Tam", "Kee"});
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 11 + 12);
  EXPECT_EQ(m_profile.Read(Base("SimoDump.LST")), expected);
  // The print failure ends the command with its text; the view is back on its page.
  EXPECT_EQ(m_messages, std::vector<std::string>{"No printer is installed."});
  EXPECT_EQ(m_form->MainMemo->toPlainText(), pageView);
  EXPECT_EQ(m_form->State().viewFileName, viewFile);
  // The loaded schedule is untouched: checking GPx again brings its lines back.
  SetChecked("A01GPx", true);
  m_messages.clear();
  m_form->PrintSimo->click();
  EXPECT_EQ(m_profile.Read(Base("SimoDump.LST")), ScheduleOf(sample, {"Tam", "Kee", "GPx"}));
}

TEST_F(SimoCommands, NoScheduleLineOfACheckedTrackShowsAnEmptyScheduleAndPrintsNothing) {
  m_form->clearALL->click();
  m_form->PrintSimo->click();
  EXPECT_EQ(m_profile.Read(Base("SimoDump.LST")), "");
  EXPECT_EQ(m_form->MainMemo->toPlainText(), "");
  EXPECT_TRUE(m_messages.empty());  // no job was begun, so the missing printer went unnoticed
}

}  // namespace
