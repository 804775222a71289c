// The print preview: the sheets PRINT would print for the checked pages, with sheet
// navigation and zoom. Canvas modes are drawn by the canvas layout on the preview's
// own printer; PCL modes from the PCL job as the core reads it. "Print" closes it with
// Accepted (the caller then runs PRINT), "Close" and the close box with Rejected.
// It prints nothing itself and changes no shared value and no file.
#pragma once

#include <QDialog>
#include <QPrinter>

#include "pcl/pcl_sheets.h"
#include "pcl/print_preview.h"

class QLabel;
class QPageLayout;
class QPainter;
class QPrintPreviewWidget;
class QPushButton;

class TPrintPreviewForm final : public QDialog {
  Q_OBJECT
 public:
  // Previews `job` on a printer with the page layout and resolution of the program's
  // printer (`printer` is only read). The sheets are built here, before the dialog shows.
  TPrintPreviewForm(QWidget* parent, PrintPreviewJob job, const QPrinter& printer);

  // Sheets the preview holds.
  int SheetCount() const;
  // The sheet shown (from 1); 0 when there is none.
  int CurrentSheet() const;
  // The preview's own printer (its resolution is the one the sheets are drawn at).
  const QPrinter& PreviewPrinter() const { return m_printer; }
  // The PCL modes: the sheets of the job; empty in the canvas modes.
  const PclSheetLayout& PclSheets() const { return m_pclSheets; }

  // Draws one PCL sheet on `painter`, whose device has the resolution the sheet was laid
  // out at, with (0, 0) at the sheet's top-left corner.
  static void DrawPclSheet(QPainter& painter, const PclSheet& sheet);

  QPrintPreviewWidget* Preview = nullptr;
  QPushButton* PreviewPrint = nullptr;
  QPushButton* PreviewClose = nullptr;
  QPushButton* PreviewPrevious = nullptr;
  QPushButton* PreviewNext = nullptr;
  QPushButton* PreviewZoomIn = nullptr;
  QPushButton* PreviewZoomOut = nullptr;
  QPushButton* PreviewFitWidth = nullptr;
  QPushButton* PreviewWholeSheet = nullptr;
  QLabel* PreviewSheet = nullptr;   // "Sheet n of m"
  QLabel* PreviewStatus = nullptr;  // mode, paper, job number, skipped commands

 private:
  void CreateComponents();
  void PaintSheets(QPrinter* printer);
  void PaintCanvasSheets(QPrinter* printer);
  void PaintPclSheets(QPrinter* printer);
  void ShowSheetNumber();

  PrintPreviewJob m_job;
  QPrinter m_printer;
  PclSheetLayout m_pclSheets;
};
