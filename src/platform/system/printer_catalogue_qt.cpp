// The printer catalogue from Qt's printer information (CUPS on Linux, the
// spooler on Windows).
#include <QPrinterInfo>

#include "platform/printers.h"

namespace {

class QtPrinterCatalogue final : public PrinterCatalogue {
 public:
  std::vector<std::string> PrinterNames() const override {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    return names;
  }
  std::string DefaultPrinterName() const override { return QPrinterInfo::defaultPrinterName().toStdString(); }
};

}  // namespace

std::unique_ptr<PrinterCatalogue> MakeSystemPrinterCatalogue() { return std::make_unique<QtPrinterCatalogue>(); }
