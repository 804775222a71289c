// The printer canvas on the program's long-lived QPrinter, which holds the paper,
// printable area and orientation a job is laid out on (an orientation a job sets
// stays for the next job). A document goes to the current printer, into a PDF
// file when one is named, or (the print preview) onto a printer exactly as its
// owner set it up.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

#include "platform/printer_canvas.h"

class CurrentPrinter;
class QPagedPaintDevice;
class QPdfWriter;
class QTemporaryFile;
class Spooler;

class QtPrinterCanvas final : public PrinterCanvas {
 public:
  // Prints to the printer `current` names, which `printer` is pointed at now, so that
  // the layout is measured on the printer the job goes to. On Linux the sheets are
  // drawn into a temporary PDF file that `spooler` submits when the document ends, so
  // the printing system's answer is known; on Windows they go through the printer
  // driver. `printer` and `spooler` outlive the canvas.
  QtPrinterCanvas(QPrinter& printer, const CurrentPrinter& current, Spooler& spooler);
  // Draws into the PDF file `pdfPath`, on the paper `printer` is set up for.
  QtPrinterCanvas(QPrinter& printer, const QString& pdfPath);
  // Paints on `printer` as it is set up, choosing no output of its own: the print
  // preview's printer, which records the sheets.
  explicit QtPrinterCanvas(QPrinter& printer);
  ~QtPrinterCanvas() override;

  void SetOrientation(PageOrientation orientation) override;
  int PageWidth() const override;
  int PageHeight() const override;
  // Throws PrintFailure when there is no printer or the document cannot be started.
  void BeginDocument() override;
  void NewPage() override;
  // Throws PrintFailure when the document could not be written, or the printing system
  // did not take the job (its reason is the text).
  void EndDocument() override;
  void AbortDocument() override;
  void SetFont(const std::string& name, int pointSize, bool bold) override;
  void DrawTextAt(int x, int y, const std::string& text) override;

 private:
  enum class Output { CurrentPrinter, PdfFile, AsGiven };

  // Starts painting a PDF of the printer's paper, into `pdfPath` or, when empty, into a
  // new temporary file.
  void BeginPdf(const QString& pdfPath);
  // Ends the painting; false when the painter or the PDF's file failed.
  bool EndPainting();
  // Hands the finished temporary PDF to the spooler; throws PrintFailure when it was refused.
  void SubmitSpoolFile();

  QPrinter& m_printer;
  Output m_output;
  std::string m_deviceName;
  Spooler* m_spooler = nullptr;
  QString m_pdfPath;
  std::unique_ptr<QTemporaryFile> m_spoolFile;
  std::unique_ptr<QPdfWriter> m_pdfWriter;
  QPagedPaintDevice* m_device = nullptr;  // what the open document is painted on
  QPainter m_painter;
  int m_ascent = 0;
};
