// `SimoTable`: the lines of the simulcast schedule "SimoDump.LST", each cut to its
// first 63 characters, every line kept. They are held one after another in one
// buffer, so the table costs about the bytes it keeps, whatever the file holds: a
// file of nothing but line ends costs one byte a line. Read in order only.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

// Characters kept of each schedule line.
inline constexpr std::size_t kScheduleLineLimit = 63;

class SimoTable {
 public:
  // Walks the lines in order.
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;

    Iterator() = default;
    std::string_view operator*() const { return std::string_view(*m_bytes).substr(m_start, m_end - m_start); }
    Iterator& operator++();
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const { return m_start == other.m_start; }

   private:
    friend class SimoTable;
    Iterator(const std::string* bytes, std::size_t start);
    const std::string* m_bytes = nullptr;
    std::size_t m_start = 0;  // the line's first byte; the buffer's size at the end
    std::size_t m_end = 0;    // its line end
  };

  // Adds `line`, cut to 63 characters and at a line feed (lines read from a file
  // hold none).
  void Add(std::string_view line);
  // Makes room for lines of `bytes` bytes in all, line ends included.
  void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

  std::size_t size() const { return m_lineCount; }
  bool empty() const { return m_lineCount == 0; }
  Iterator begin() const { return Iterator(&m_bytes, 0); }
  Iterator end() const { return Iterator(&m_bytes, m_bytes.size()); }
  // Bytes held for the lines, for measuring.
  std::size_t ByteCount() const { return m_bytes.capacity(); }

 private:
  std::string m_bytes;  // each line followed by "\n"
  std::size_t m_lineCount = 0;
};

// The schedule file's lines, each cut to 63 characters; every line is kept. Throws
// IoError, "File not found" when the file is missing.
SimoTable LoadSimoTable(const std::string& schedulePath);
