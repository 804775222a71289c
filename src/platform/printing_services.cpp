#include "platform/printing_services.h"

PrintingServices SystemPrintingServices() {
  PrintingServices services;
  services.catalogue = MakeSystemPrinterCatalogue();
  services.currentPrinter = std::make_unique<CurrentPrinter>(*services.catalogue);
  services.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  services.spooler = MakeSystemSpooler();
  return services;
}
