#include "import/simo_table.h"

#include <algorithm>

#include "base/file_layer.h"

SimoTable::Iterator::Iterator(const std::string* bytes, std::size_t start) : m_bytes(bytes), m_start(start) {
  m_end = std::min(m_bytes->find('\n', m_start), m_bytes->size());
}

SimoTable::Iterator& SimoTable::Iterator::operator++() {
  m_start = std::min(m_end + 1, m_bytes->size());
  m_end = std::min(m_bytes->find('\n', m_start), m_bytes->size());
  return *this;
}

void SimoTable::Add(std::string_view line) {
  m_bytes.append(line.substr(0, std::min(line.find('\n'), kScheduleLineLimit)));
  m_bytes.push_back('\n');
  ++m_lineCount;
}

SimoTable LoadSimoTable(const std::string& schedulePath) {
  SimoTable table;
  InputFile schedule(schedulePath);
  // Kept lines are never longer than the file's (a line end is at least one byte),
  // so the buffer is made once; only a last line without a line end needs one byte more.
  table.Reserve(static_cast<std::size_t>(FileSize(schedulePath)) + 1);
  std::string line;
  while (schedule.ReadLine(line)) table.Add(line);
  schedule.Close();
  return table;
}
