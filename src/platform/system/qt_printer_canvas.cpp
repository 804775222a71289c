#include "platform/system/qt_printer_canvas.h"

#include <QDir>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QTemporaryFile>

#include "platform/printers.h"
#include "platform/spooler.h"
#include "platform/system/fonts.h"
#include "platform/system/printing_services.h"

namespace {

// On Windows the printer driver takes the canvas's drawing and Qt's engine reports
// what the spooler said. Qt's CUPS engine drops the scheduler's answer, so on Linux
// the drawing goes into a PDF that our spooler submits and checks.
#ifdef _WIN32
constexpr bool kDrawThroughDriver = true;
#else
constexpr bool kDrawThroughDriver = false;
#endif

std::string WriteFailureText(const QString& reason) {
  return "The print job could not be written: " + reason.toStdString();
}

std::string PdfFailureText(const QString& pdfPath) {
  return "The PDF file \"" + pdfPath.toStdString() + "\" could not be written.";
}

}  // namespace

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer, const CurrentPrinter& current, Spooler& spooler)
    : m_printer(printer), m_output(Output::CurrentPrinter), m_deviceName(current.DeviceName()), m_spooler(&spooler) {
  SelectCanvasPrinter(m_printer, m_deviceName);
}

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer, const QString& pdfPath)
    : m_printer(printer), m_output(Output::PdfFile), m_pdfPath(pdfPath) {}

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer) : m_printer(printer), m_output(Output::AsGiven) {}

// The painter ends (it is declared last) before the PDF writer and its file go.
QtPrinterCanvas::~QtPrinterCanvas() = default;

void QtPrinterCanvas::SetOrientation(PageOrientation orientation) {
  m_printer.setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                         : QPageLayout::Portrait);
}

int QtPrinterCanvas::PageWidth() const {
  return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).width();
}

int QtPrinterCanvas::PageHeight() const {
  return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height();
}

void QtPrinterCanvas::BeginDocument() {
  switch (m_output) {
    case Output::CurrentPrinter:
      if (m_deviceName.empty()) throw PrintFailure("No printer is installed.");
      if (!kDrawThroughDriver) {
        BeginPdf(QString());  // a temporary file, for the spooler
        return;
      }
      m_printer.setDocName(QString());
      break;
    case Output::PdfFile:
      BeginPdf(m_pdfPath);
      return;
    case Output::AsGiven:
      break;
  }
  m_device = &m_printer;
  if (!m_painter.begin(&m_printer))
    throw PrintFailure("The printer \"" + m_printer.printerName().toStdString() + "\" did not take the job.");
}

void QtPrinterCanvas::BeginPdf(const QString& pdfPath) {
  if (pdfPath.isEmpty()) {
    m_spoolFile = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("vantrose-XXXXXX.pdf")));
    if (!m_spoolFile->open()) throw PrintFailure(WriteFailureText(m_spoolFile->errorString()));
    m_pdfWriter = std::make_unique<QPdfWriter>(m_spoolFile.get());
  } else {
    m_pdfWriter = std::make_unique<QPdfWriter>(pdfPath);
  }
  // The sheets have the paper, printable area and resolution the layout was measured on.
  m_pdfWriter->setResolution(m_printer.resolution());
  m_pdfWriter->setPageLayout(m_printer.pageLayout());
  m_device = m_pdfWriter.get();
  if (!m_painter.begin(m_pdfWriter.get()))
    throw PrintFailure(pdfPath.isEmpty() ? WriteFailureText(m_spoolFile->errorString()) : PdfFailureText(pdfPath));
}

void QtPrinterCanvas::NewPage() { m_device->newPage(); }

bool QtPrinterCanvas::EndPainting() {
  bool written = m_painter.end();
  m_pdfWriter.reset();
  if (m_spoolFile) written = m_spoolFile->flush() && m_spoolFile->error() == QFileDevice::NoError && written;
  if (m_device == &m_printer) written = written && m_printer.printerState() != QPrinter::Error;
  m_device = nullptr;
  return written;
}

void QtPrinterCanvas::EndDocument() {
  const bool written = EndPainting();
  if (m_spoolFile) {
    if (!written) throw PrintFailure(WriteFailureText(m_spoolFile->errorString()));
    SubmitSpoolFile();
    return;
  }
  if (written) return;
  if (m_output == Output::PdfFile) throw PrintFailure(PdfFailureText(m_pdfPath));
  throw PrintFailure("The printer \"" + m_printer.printerName().toStdString() + "\" reported an error.");
}

void QtPrinterCanvas::SubmitSpoolFile() {
  JobDocument document;
  document.format = DocumentFormat::Pdf;
  const QPageLayout layout = m_printer.pageLayout();
  document.media = layout.pageSize().key().toStdString();
  document.orientation =
      layout.orientation() == QPageLayout::Landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
  const SpoolOutcome outcome = m_spooler->SpoolJob(m_deviceName, m_spoolFile->fileName().toStdString(), document);
  m_spoolFile.reset();  // removes the file
  if (!outcome.delivered) throw PrintFailure(outcome.reason);
}

void QtPrinterCanvas::AbortDocument() {
  if (!m_painter.isActive()) return;
  if (m_device == &m_printer) m_printer.abort();
  m_painter.end();
  m_pdfWriter.reset();
  m_spoolFile.reset();  // nothing of an abandoned document reaches the printer
  m_device = nullptr;
}

void QtPrinterCanvas::SetFont(const std::string& name, int pointSize, bool bold) {
  const QFont font = PrinterFont(name, pointSize, bold ? FontWeight::Bold : FontWeight::Normal);
  m_painter.setFont(font);
  m_ascent = QFontMetrics(font, m_device).ascent();
}

void QtPrinterCanvas::DrawTextAt(int x, int y, const std::string& text) {
  // QPainter draws at the baseline; the canvas is given the text's top-left corner.
  m_painter.drawText(QPoint(x, y + m_ascent), QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}
