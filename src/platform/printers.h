// The installed printers and the program's one current printer. Canvas
// printing, the schedule and the raw spooler all print to the current printer;
// the printer dialogs change it. The catalogue is the system's; the current
// choice is ours.
#pragma once

#include <memory>
#include <string>
#include <vector>

class PrinterCatalogue {
 public:
  virtual ~PrinterCatalogue() = default;
  // Names of the installed printers in a fixed order (the index order of the dialogs).
  virtual std::vector<std::string> PrinterNames() const = 0;
  // Name of the system's default printer; empty when there is none.
  virtual std::string DefaultPrinterName() const = 0;
};

// The system's printers (Qt's printer information).
std::unique_ptr<PrinterCatalogue> MakeSystemPrinterCatalogue();

// The current printer, chosen by index into the catalogue's list as it was when the
// program started (the list is read once, as the dialogs show it).
class CurrentPrinter {
 public:
  explicit CurrentPrinter(const PrinterCatalogue& catalogue);

  const std::vector<std::string>& Names() const { return m_names; }
  // Index of the current printer in Names(); -1 when there is none.
  int Index() const { return m_index; }
  // Makes printer `index` current; -1 (or an index out of range) selects the default printer.
  void Select(int index);
  // Makes the printer named `name` current, for a choice made in the system's print dialog;
  // a name not in the list is kept as the device name.
  void SelectByName(const std::string& name);
  // The device name the spooler and the canvas address; empty when there is no printer.
  const std::string& DeviceName() const { return m_deviceName; }

 private:
  std::vector<std::string> m_names;
  std::string m_defaultName;
  int m_index = -1;
  std::string m_deviceName;
};
