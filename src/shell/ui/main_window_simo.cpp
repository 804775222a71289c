// The main window's simulcast schedule commands: print the schedule of the
// checked tracks, and its line spacing options.
#include <QLabel>
#include <QPlainTextEdit>

#include "browser/page_list.h"
#include "canvas/simo_schedule.h"
#include "canvas/ui/simo_options_dialog.h"
#include "platform/system/printing_services.h"
#include "platform/system/qt_printer_canvas.h"
#include "shell/ui/main_window.h"

void TMainForm::PrintSimoClick() {
  std::vector<std::string> checkedTexts;
  for (const PageItem& item : m_pageList.items)
    if (item.checked) checkedTexts.push_back(item.text);
  const std::vector<std::string> lines = FilterSimoLines(m_state.simoTable, checkedTexts);
  WriteSimoDump(OwnFilePath(m_state.baseFolder, FileNames::kSchedule), lines);

  const QString previousView = MainMemo->toPlainText();
  MainMemo->setPlainText(QString::fromUtf8(ViewText(lines)));
  // Nothing to print: the view goes on showing the empty schedule.
  if (lines.empty()) return;

  // Afterwards the view shows its file again, also when printing failed, so that it
  // never goes on showing the schedule while the page commands work on that file.
  const auto showViewAgain = [this, &previousView] {
    if (const auto text = LoadViewText(m_state.viewFileName, m_state.viewFileName)) {
      MainMemo->setPlainText(QString::fromUtf8(*text));
    } else {
      MainMemo->setPlainText(previousView);  // no file shown before (the ruler), or it is gone
    }
  };
  const SimoPlan plan = PlanSimoPages(m_state.simoOptimumLines, m_state.simoMaximumLines, lines.size());
  const std::string dateText = RaceDate->text().toLatin1().toStdString();
  try {
    QtPrinterCanvas canvas(*m_printing.printer, *m_printing.currentPrinter, *m_printing.spooler);
    PrintSimoPages(canvas, lines, plan, dateText, m_state.simoTwoUp);
  } catch (const PrintFailure& failure) {
    // A schedule that did not reach the printer is told as PRINT tells it.
    showViewAgain();
    PrintCounter->setText(QStringLiteral("-ER-"));
    m_showMessage(failure.what());
    return;
  } catch (...) {
    showViewAgain();
    throw;  // the failure ends the command and its text is shown
  }
  showViewAgain();
}

void TMainForm::optionsClick() {
  if (m_simoOpts == nullptr) return;  // the dialogs are made after start-up
  m_simoOpts->Load({m_state.simoOptimumLines, m_state.simoMaximumLines, m_state.simoTwoUp});
  if (RunModal(*m_simoOpts) != QDialog::Accepted) return;
  const SimoOptions& chosen = m_simoOpts->Values();
  m_state.simoOptimumLines = chosen.optimumLines;
  m_state.simoMaximumLines = chosen.maximumLines;
  m_state.simoTwoUp = chosen.twoUp;
}
