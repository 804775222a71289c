#include "base/text.h"

#include <algorithm>

namespace {
constexpr unsigned char kSuperscriptTwo = 253;  // code page 437
}  // namespace

std::string CutText(std::string_view text, std::size_t limit) { return std::string(text.substr(0, limit)); }

std::string AsciiUpperText(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool IsReservedDeviceName(std::string_view name) {
  const std::string_view stem = name.substr(0, name.find('.'));
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (EqualsIgnoringAsciiCase(stem, device)) return true;
  if (stem.size() != 4) return false;
  const std::string_view prefix = stem.substr(0, 3);
  if (!EqualsIgnoringAsciiCase(prefix, "COM") && !EqualsIgnoringAsciiCase(prefix, "LPT")) return false;
  const auto digit = static_cast<unsigned char>(stem[3]);
  return (digit >= '1' && digit <= '9') || digit == kSuperscriptTwo;
}
