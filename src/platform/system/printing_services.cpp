#include "platform/system/printing_services.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPrinterInfo>

PrintingServices SystemPrintingServices() {
  PrintingServices services;
  services.catalogue = MakeSystemPrinterCatalogue();
  services.currentPrinter = std::make_unique<CurrentPrinter>(*services.catalogue);
  services.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // Canvas layout caps the line pitch at 120 device pixels, meant as six lines per
  // inch: at 720 dots per inch that is what it is (at Qt's default 1200 the cap would
  // crowd 9 pt lines at ten per inch). 720 is also the PCL path's decipoint grid.
  services.printer->setResolution(720);
  // Qt starts every printer on its own default page; the printer's paper applies here.
  UsePrinterPaper(*services.printer, services.currentPrinter->DeviceName());
  services.spooler = MakeSystemSpooler();
  return services;
}

QPageSize PrinterPaper(const QPrinterInfo& info) {
  const QPageSize paper = info.defaultPageSize();
  return paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

bool LaidOutOn(const QPrinter& printer, const QString& name) {
  return printer.outputFormat() == QPrinter::NativeFormat && printer.printerName() == name;
}

void UsePrinterPaper(QPrinter& printer, const std::string& deviceName, const QPageSize& paper) {
  const QString name = QString::fromStdString(deviceName);
  const QPrinterInfo info = QPrinterInfo::printerInfo(name);
  if (name.isEmpty() || info.isNull()) return;
  const QPageLayout::Orientation orientation = printer.pageLayout().orientation();
  printer.setPrinterName(name);
  const QPageSize size = paper.isValid() ? paper : PrinterPaper(info);
  if (info.supportedPageSizes().isEmpty()) {
    printer.setPageLayout(QPageLayout(size, orientation, QMarginsF(10, 10, 10, 10)));
  } else {
    // Qt raises the margins to what the printer cannot print on this paper but never
    // lowers them; set them to exactly that, so the area does not depend on the paper
    // or printer used before.
    printer.setPageSize(size);
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
  }
  printer.setPageOrientation(orientation);
}

void SelectCanvasPrinter(QPrinter& printer, const std::string& deviceName) {
  if (LaidOutOn(printer, QString::fromStdString(deviceName))) return;
  UsePrinterPaper(printer, deviceName);
}
