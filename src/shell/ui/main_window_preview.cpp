// The main window's print preview command: the sheets PRINT would print for the
// checked pages, shown before printing; printing from it is PRINT itself.
#include "pcl/print_preview.h"
#include "pcl/ui/print_preview_window.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/system/printing_services.h"
#include "shell/ui/main_window.h"

void TMainForm::PrintPreviewClick() {
  PrintPreviewRequest request;
  request.baseFolder = m_state.baseFolder;
  request.printMode = m_state.printMode;
  request.jobNumber = m_state.jobNumber;
  // PRINT takes the legal and duplex choices from the printer options, so the preview
  // shows them too, without storing them.
  request.legalPaper = m_printerXForm->LegalChecked();
  request.duplexPrint = m_printerXForm->DuplexChecked();
  std::optional<PrintPreviewJob> job = BuildPrintPreview(m_pageList, request, LocalTimeNow());
  if (!job) {
    m_showMessage("No page is checked.");
    return;
  }
  // The sheets are those of the printer PRINT would print on.
  SelectCanvasPrinter(*m_printing.printer, m_printing.currentPrinter->DeviceName());
  TPrintPreviewForm preview(this, std::move(*job), *m_printing.printer);
  if (RunModal(preview) == QDialog::Accepted) PrintButtonClick();
}
