#include "pcl/pcl_emitters.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "base/file_layer.h"

namespace {

// Bytes gathered before they go to the file layer in one write.
constexpr std::size_t kJobFileBlockSize = 16384;

std::string EscapeSequence(std::string_view body) {
  std::string sequence(1, kPclEscape);
  sequence.append(body);
  return sequence;
}

}  // namespace

// ---- PclJobFile ----

PclJobFile::PclJobFile() = default;

PclJobFile::~PclJobFile() = default;  // an unclosed file is closed by OutputFile, without throwing

void PclJobFile::OpenPclFile(const std::string& path, AtLink atLink) {
  ClosePclFile();
  m_file = std::make_unique<OutputFile>(path, atLink);
  m_pending.clear();
  m_pending.reserve(kJobFileBlockSize);
}

void PclJobFile::ClosePclFile() {
  if (m_file == nullptr) return;
  // The file counts as closed afterwards also when writing its rest fails; the
  // failure is still reported, and OutputFile's destructor closes the handle.
  const std::unique_ptr<OutputFile> file = std::move(m_file);
  const std::string rest = std::move(m_pending);
  m_pending.clear();
  if (!rest.empty()) file->Write(rest);
  file->Close();
}

void PclJobFile::Append(std::string_view bytes) {
  if (m_file == nullptr) throw std::logic_error("PCL job file written while not open");
  m_pending.append(bytes);
  if (m_pending.size() >= kJobFileBlockSize) Flush();
}

void PclJobFile::Flush() {
  if (m_pending.empty()) return;
  m_file->Write(m_pending);
  m_pending.clear();
}

// ---- Formatting ----

std::string PclNumber(long long value) { return std::to_string(value); }

std::string PclReal(double value) {
  const int length = std::snprintf(nullptr, 0, "%3.2f", value);
  std::string text(static_cast<std::size_t>(length), ' ');
  std::snprintf(text.data(), text.size() + 1, "%3.2f", value);
  return text;
}

std::string PclSign(long long value) { return value < 0 ? "-" : "+"; }

// ---- Commands ----

void PclEmitter::PclReset() { PclWrite(EscapeSequence("E")); }

void PclEmitter::PclDuplex(std::uint8_t mode) { PclWrite(EscapeSequence("&l" + PclNumber(mode) + "S")); }

void PclEmitter::PclPaperSize(std::uint8_t size) { PclWrite(EscapeSequence("&l" + PclNumber(size) + "A")); }

void PclEmitter::PclOrientation(std::uint8_t orientation) {
  PclWrite(EscapeSequence("&l" + PclNumber(orientation) + "O"));
}

void PclEmitter::PclSymbolSet(std::uint8_t symbolSet) { PclWrite(EscapeSequence("(" + PclNumber(symbolSet) + "U")); }

void PclEmitter::PclFont(std::uint8_t typeface, std::int8_t weight, std::uint8_t style, double pitch, double height) {
  // Three writes that together form one combined sequence.
  PclWrite(EscapeSequence("(s"));
  if (pitch == 0.0) {
    PclWrite("1p");
  } else {
    PclWrite("0p" + PclReal(pitch) + "h");
  }
  PclWrite(PclReal(height) + "v" + PclNumber(style) + "s" + PclNumber(weight) + "b" + PclNumber(typeface) + "T");
}

void PclEmitter::PclCursor(long long x, long long y, PclUnit unit, PclMove move) {
  // Built in a fixed buffer: one sequence is written for every line of a job.
  const bool relative = move == PclMove::Relative;
  const bool decipoints = unit == PclUnit::Decipoints;
  char sequence[64];
  char* out = sequence;
  *out++ = kPclEscape;
  *out++ = '&';
  *out++ = 'a';
  const auto part = [&](long long value, char letter) {
    *out++ = relative ? (value < 0 ? '-' : '+') : '0';
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    out = std::to_chars(out, sequence + sizeof sequence, magnitude).ptr;
    *out++ = letter;
  };
  part(y, decipoints ? 'v' : 'r');
  part(x, decipoints ? 'H' : 'C');
  PclWrite(std::string_view(sequence, static_cast<std::size_t>(out - sequence)));
}

void PclEmitter::PclPageEject() { PclWrite(std::string_view(&kPclFormFeed, 1)); }
