// The printer canvas on a QPrinter: the program's one long-lived printer object,
// so an orientation a job sets stays for the next job. Each document goes to the
// current printer, or to a PDF file when one is named, or (the print preview) to
// a printer exactly as its owner set it up.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <stdexcept>

#include "platform/printer_canvas.h"

class CurrentPrinter;

class QtPrinterCanvas final : public PrinterCanvas {
 public:
  // Prints to the printer `current` names. `printer` outlives the canvas.
  QtPrinterCanvas(QPrinter& printer, const CurrentPrinter& current);
  // Prints into the PDF file `pdfPath` instead of a printer.
  QtPrinterCanvas(QPrinter& printer, const QString& pdfPath);
  // Paints on `printer` as it is set up, choosing no output of its own: the print
  // preview's printer, which records the sheets.
  explicit QtPrinterCanvas(QPrinter& printer);

  void SetOrientation(PageOrientation orientation) override;
  int PageWidth() const override;
  int PageHeight() const override;
  // Throws PrintFailure when the printer cannot start the document.
  void BeginDocument() override;
  void NewPage() override;
  // Throws PrintFailure when the printer reports the job failed.
  void EndDocument() override;
  void AbortDocument() override;
  void SetFont(const std::string& name, int pointSize, bool bold) override;
  void DrawTextAt(int x, int y, const std::string& text) override;

 private:
  enum class Output { CurrentPrinter, PdfFile, AsGiven };

  QPrinter& m_printer;
  Output m_output;
  const CurrentPrinter* m_current = nullptr;
  QString m_pdfPath;
  QPainter m_painter;
  int m_ascent = 0;
};
