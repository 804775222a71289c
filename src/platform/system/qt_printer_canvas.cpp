#include "platform/system/qt_printer_canvas.h"

#include <QFontMetrics>

#include "platform/printers.h"
#include "platform/system/fonts.h"

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer, const CurrentPrinter& current)
    : m_printer(printer), m_output(Output::CurrentPrinter), m_current(&current) {}

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer, const QString& pdfPath)
    : m_printer(printer), m_output(Output::PdfFile), m_pdfPath(pdfPath) {}

QtPrinterCanvas::QtPrinterCanvas(QPrinter& printer) : m_printer(printer), m_output(Output::AsGiven) {}

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
  if (m_output == Output::CurrentPrinter) {
    if (m_current->DeviceName().empty()) throw PrintFailure("No printer is installed.");
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setOutputFileName(QString());
    m_printer.setPrinterName(QString::fromStdString(m_current->DeviceName()));
    m_printer.setDocName(QString());
  } else if (m_output == Output::PdfFile) {
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(m_pdfPath);
    m_printer.setDocName(QString());
  }
  if (!m_painter.begin(&m_printer))
    throw PrintFailure("The printer \"" + m_printer.printerName().toStdString() + "\" did not take the job.");
}

void QtPrinterCanvas::NewPage() { m_printer.newPage(); }

void QtPrinterCanvas::EndDocument() {
  const bool ended = m_painter.end();
  if (!ended || m_printer.printerState() == QPrinter::Error)
    throw PrintFailure("The printer \"" + m_printer.printerName().toStdString() + "\" reported an error.");
}

void QtPrinterCanvas::AbortDocument() {
  if (!m_painter.isActive()) return;
  m_printer.abort();
  m_painter.end();
}

void QtPrinterCanvas::SetFont(const std::string& name, int pointSize, bool bold) {
  const QFont font = PrinterFont(name, pointSize, bold ? FontWeight::Bold : FontWeight::Normal);
  m_painter.setFont(font);
  m_ascent = QFontMetrics(font, &m_printer).ascent();
}

void QtPrinterCanvas::DrawTextAt(int x, int y, const std::string& text) {
  // QPainter draws at the baseline; the canvas is given the text's top-left corner.
  m_painter.drawText(QPoint(x, y + m_ascent), QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}
