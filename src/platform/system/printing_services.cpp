#include "platform/system/printing_services.h"

PrintingServices SystemPrintingServices() {
  PrintingServices services;
  services.catalogue = MakeSystemPrinterCatalogue();
  services.currentPrinter = std::make_unique<CurrentPrinter>(*services.catalogue);
  services.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // Canvas layout caps the line pitch at 120 device pixels, meant as six lines per
  // inch: at 720 dots per inch that is what it is (at Qt's default 1200 the cap would
  // crowd 9 pt lines at ten per inch). 720 is also the PCL path's decipoint grid.
  services.printer->setResolution(720);
  services.spooler = MakeSystemSpooler();
  return services;
}
