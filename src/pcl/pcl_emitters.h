// The lowest layer of the PCL engine: number formatting and the few PCL 5 printer
// commands the program emits, written byte for byte to a byte sink (a string in
// memory, or the job file through the file layer). It decides nothing about which
// commands a job holds or where text goes; the page composer does that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/file_layer.h"

// Where the bytes of a job go.
class PclSink {
 public:
  virtual ~PclSink() = default;
  // Appends `bytes` unchanged; throws IoError when they cannot be written.
  virtual void Append(std::string_view bytes) = 0;
};

// Collects the bytes in memory (the print preview and the tests).
class PclStringSink final : public PclSink {
 public:
  void Append(std::string_view bytes) override { m_bytes.append(bytes); }
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};

// The job file "Vantrose.PCL": a work file, created (or emptied) by OpenPclFile and
// completed by ClosePclFile. Bytes are gathered and handed to the file layer in large
// blocks. Every failure to create, write or close it throws IoError; a job file left
// incomplete by a failure is closed by the destructor and is not to be spooled.
class PclJobFile final : public PclSink {
 public:
  PclJobFile();
  ~PclJobFile() override;
  PclJobFile(const PclJobFile&) = delete;
  PclJobFile& operator=(const PclJobFile&) = delete;

  // Closes an open job file first (ClosePclFile), then creates `path`, replacing any
  // file of that name; `atLink` says what happens to a link at `path`.
  void OpenPclFile(const std::string& path, AtLink atLink = AtLink::ReplaceLink);
  // Writes what is still gathered and closes the file; does nothing when none is open.
  void ClosePclFile();
  bool IsOpen() const { return m_file != nullptr; }

  // Throws std::logic_error when no job file is open (a programming error).
  void Append(std::string_view bytes) override;

 private:
  void Flush();

  std::unique_ptr<OutputFile> m_file;
  std::string m_pending;
};

// Decimal digits without leading zeros, blanks or plus sign; a minus sign before a
// negative value (0 -> "0", 10 -> "10", -3 -> "-3").
std::string PclNumber(long long value);

// Fixed point with exactly two decimals, rounded to the nearest hundredth, padded on
// the left with blanks to at least 3 characters (8.5 -> "8.50", 16.67 -> "16.67").
std::string PclReal(double value);

// "+" for 0 or more, "-" for a negative value.
std::string PclSign(long long value);

// Units and kinds of a cursor move, for PclCursor.
enum class PclUnit { Decipoints, RowsColumns };
enum class PclMove { Absolute, Relative };

// Writes the commands to a sink. Each command is built whole and written with PclWrite.
//
// Byte layouts (ESC is the byte 1B hex; numbers are PclNumber unless said otherwise):
//   Printer Reset               ESC E                          1B 45
//   Simplex/Duplex Print        ESC & l n S                    (0 simplex, 1 long edge, 2 short edge)
//   Page Size                   ESC & l n A                    (3 is legal)
//   Logical Page Orientation    ESC & l n O                    (0 portrait, 1 landscape)
//   Symbol Set                  ESC ( n U                      (10U is PC-8, code page 437)
//   Primary font, combined      ESC ( s  then "1p" (pitch 0, proportional)
//                                        or "0p" PclReal(pitch) "h" (fixed spacing)
//                               then PclReal(height) "v" style "s" weight "b" typeface "T"
//                               e.g. ESC (s0p16.67h8.50v0s2b0T
//   Cursor position, combined   ESC & a  S |y| v|r  S |x| H|C
//                               S is "0" for an absolute move and PclSign of the value
//                               for a relative one; v/H decipoints, r/C rows/columns;
//                               e.g. ESC &a090v01080H, relative ESC &a-30v+0H
//   Page eject                  form feed                      0C
class PclEmitter {
 public:
  explicit PclEmitter(PclSink& sink) : m_sink(sink) {}

  // Writes the bytes of `text` unchanged, in order.
  void PclWrite(std::string_view text) { m_sink.Append(text); }

  void PclReset();
  void PclDuplex(std::uint8_t mode);
  void PclPaperSize(std::uint8_t size);
  void PclOrientation(std::uint8_t orientation);
  void PclSymbolSet(std::uint8_t symbolSet);
  void PclFont(std::uint8_t typeface, std::int8_t weight, std::uint8_t style, double pitch, double height);
  void PclCursor(long long x, long long y, PclUnit unit, PclMove move);
  // The form feed that ejects a sheet.
  void PclPageEject();

 private:
  PclSink& m_sink;
};

inline constexpr char kPclEscape = '\x1B';
inline constexpr char kPclFormFeed = '\x0C';
