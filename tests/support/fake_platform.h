// Stand-ins for the platform services in window tests: a desktop shortcut that
// writes nothing and a printer catalogue without printers.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop_shortcut.h"
#include "platform/printers.h"

class NoShortcut final : public DesktopShortcut {
 public:
  void Make(const std::string&, const std::string&) override {}
};

class NoPrinters final : public PrinterCatalogue {
 public:
  std::vector<std::string> PrinterNames() const override { return {}; }
  std::string DefaultPrinterName() const override { return {}; }
};
