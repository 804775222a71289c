// Benchmark driver for the canvas print path that scripts/bench times: prints a
// print file through the printer canvas on a QPrinter into a PDF file. Runs
// offscreen (QT_QPA_PLATFORM=offscreen).
//   vantrose_canvas_bench FOLDER PDF LETTER   prints FOLDER/Vantrose.PRN in the canvas
//                                             mode LETTER (G, H, I or J) into PDF
#include <QGuiApplication>
#include <QPrinter>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/file_layer.h"
#include "canvas/canvas_print.h"
#include "platform/system/qt_printer_canvas.h"

int main(int argc, char** argv) {
  if (argc != 4 || std::strlen(argv[3]) != 1) {
    std::fprintf(stderr, "usage: vantrose_canvas_bench FOLDER PDF LETTER\n");
    return 2;
  }
  std::string folder = argv[1];
  const QString pdfPath = QString::fromLocal8Bit(argv[2]);
  const char letter = argv[3][0];
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  int argumentCount = 1;
  QGuiApplication application(argumentCount, argv);  // fonts for the printer
  try {
    QPrinter printer(QPrinter::HighResolution);
    QtPrinterCanvas canvas(printer, pdfPath);
    bool legalPaper = false;
    CanvasPrintFile(folder, "Vantrose.PRN", letter, canvas, legalPaper);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
