// The printing services of one run: the printer catalogue, the one current
// printer, the long-lived canvas printer and the raw spooler. Created once by
// the program entry and shared by every print command.
#pragma once

#include <QPrinter>
#include <memory>

#include "platform/printers.h"
#include "platform/spooler.h"

struct PrintingServices {
  std::unique_ptr<PrinterCatalogue> catalogue;
  std::unique_ptr<CurrentPrinter> currentPrinter;
  std::unique_ptr<QPrinter> printer;  // canvas jobs; keeps its orientation between jobs
  std::unique_ptr<Spooler> spooler;
};

// The system's printers, read now, with the default printer current.
PrintingServices SystemPrintingServices();
