// The printing services of one run: the printer catalogue, the one current
// printer, the long-lived canvas printer and the spooler. Created once by the
// program entry and shared by every print command.
#pragma once

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>
#include <string>

#include "platform/printers.h"
#include "platform/spooler.h"

struct PrintingServices {
  std::unique_ptr<PrinterCatalogue> catalogue;
  std::unique_ptr<CurrentPrinter> currentPrinter;
  // Canvas jobs are measured on it: the current printer's paper and printable area, and
  // the orientation the last job set (it keeps it between jobs).
  std::unique_ptr<QPrinter> printer;
  std::unique_ptr<Spooler> spooler;
};

// The system's printers, read now, with the default printer current and its paper on
// the canvas printer.
PrintingServices SystemPrintingServices();

// The printer's own default paper; for a printer that names none (a raw queue), the
// toolkit's default page, A4.
QPageSize PrinterPaper(const QPrinterInfo& info);

// True when canvas jobs are already laid out on the printer `name`.
bool LaidOutOn(const QPrinter& printer, const QString& name);

// Points `printer` at the printer `deviceName` on `paper` (when not valid, the printer's
// own default paper), keeping the orientation. The margins are those the printer cannot
// print in on that paper; a printer that names none gets the toolkit's 10 points. A name
// the toolkit does not know changes nothing.
void UsePrinterPaper(QPrinter& printer, const std::string& deviceName, const QPageSize& paper = QPageSize());

// Makes `deviceName` the printer that canvas jobs are measured on, unless `printer`
// is on it already: then the paper set up for it (in the printer setup) stays.
void SelectCanvasPrinter(QPrinter& printer, const std::string& deviceName);
