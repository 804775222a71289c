#include <algorithm>

#include "platform/printers.h"

CurrentPrinter::CurrentPrinter(const PrinterCatalogue& catalogue)
    : m_names(catalogue.PrinterNames()), m_defaultName(catalogue.DefaultPrinterName()) {
  Select(-1);
}

void CurrentPrinter::Select(int index) {
  if (index < 0 || index >= static_cast<int>(m_names.size())) {
    const auto found = std::find(m_names.begin(), m_names.end(), m_defaultName);
    m_index = found == m_names.end() ? (m_names.empty() ? -1 : 0) : static_cast<int>(found - m_names.begin());
    // Without a default, the first printer stands in, so a job is never addressed to nobody
    // while a printer exists.
    m_deviceName = m_index >= 0 ? m_names[static_cast<std::size_t>(m_index)] : std::string();
    return;
  }
  m_index = index;
  m_deviceName = m_names[static_cast<std::size_t>(index)];
}

void CurrentPrinter::SelectByName(const std::string& name) {
  const auto found = std::find(m_names.begin(), m_names.end(), name);
  m_index = found == m_names.end() ? -1 : static_cast<int>(found - m_names.begin());
  m_deviceName = name;
}
