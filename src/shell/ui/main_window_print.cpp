// The main window's print commands: PRINT, "PRINT Current View  Only", the
// print-mode selector and the printer options.
#include <QLabel>
#include <QPushButton>
#include <iostream>

#include "pcl/print_commands.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/system/printer_setup_dialog.h"
#include "platform/system/printing_services.h"
#include "platform/system/qt_printer_canvas.h"
#include "platform/system/up_down.h"
#include "shell/day_cycle.h"
#include "shell/ui/main_window.h"

void TMainForm::PrintButtonClick() {
  PrintButton->setEnabled(false);
  // With no page checked PrintButton stays disabled until a mode change or Quickie.
  if (!PreparePrintOfCheckedPages(m_state, m_pageList, LocalTimeNow(), std::cerr)) return;
  PrintCounter->setText(QStringLiteral("----"));

  m_state.legalPaper = m_printerXForm->LegalChecked();
  m_state.duplexPrint = m_printerXForm->DuplexChecked();
  const PrintOutcome outcome = PrintCurrentWorkFile();
  PrintCounter->setText(outcome.delivered ? QStringLiteral("-OK-") : QStringLiteral("-ER-"));
  PrintButton->setEnabled(true);
  if (!outcome.delivered) m_showMessage(outcome.reason);
}

void TMainForm::Quickie() {
  PrintButton->setEnabled(false);
  std::vector<std::string> pages;
  if (!m_state.viewFileName.empty()) pages.push_back(m_state.viewFileName);
  WritePrintFile(OwnFilePath(m_state.baseFolder, kPrintFileName), pages, nullptr);
  const PrintOutcome outcome = PrintCurrentWorkFile();
  PrintButton->setEnabled(true);
  if (!outcome.delivered) {
    PrintCounter->setText(QStringLiteral("-ER-"));
    m_showMessage(outcome.reason);
  }
}

PrintOutcome TMainForm::PrintCurrentWorkFile() {
  QtPrinterCanvas canvas(*m_printing.printer, *m_printing.currentPrinter, *m_printing.spooler);
  return PrintWorkFile(m_state.baseFolder, m_state.printMode, m_state.legalPaper, m_state.duplexPrint, canvas,
                       *m_printing.spooler, m_printing.currentPrinter->DeviceName());
}

void TMainForm::ShowPrintMode() {
  const std::string_view caption = PrintModeNames[static_cast<std::size_t>(m_state.printMode)];
  SpinFont->setText(QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
}

void TMainForm::FontSelectClick() {
  m_state.printMode = 7 - FontSelect->Position();
  ShowPrintMode();
  PrintButton->setEnabled(true);
  // The word keeps the mode and the two paper choices; the darkness bits are cleared.
  m_state.legalPaper = m_printerXForm->LegalChecked();
  m_state.duplexPrint = m_printerXForm->DuplexChecked();
  m_state.settings.printSettings = EncodePrintSettings({m_state.printMode, m_state.legalPaper, m_state.duplexPrint});
}

void TMainForm::SpinFontDblClick() {
  if (IsPclMode(m_state.printMode)) {
    RunModal(*m_printerXForm);
    return;
  }
  // OK has made the chosen printer current; Cancel has changed nothing.
  TPrinterSetupDialog dialog(this, *m_printing.currentPrinter, *m_printing.printer);
  RunModal(dialog);
}
