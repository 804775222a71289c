#include "base/settings.h"

#include <algorithm>
#include <iterator>

#include "base/file_layer.h"
#include "base/text.h"

namespace {
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::uint16_t kPrintModeBits = 0x7;
constexpr std::uint16_t kLegalPaperBit = 0x8;
constexpr std::uint16_t kDuplexBit = 0x10;
}  // namespace

PrintChoice DecodePrintSettings(std::uint16_t word) {
  return {word & kPrintModeBits, (word & kLegalPaperBit) != 0, (word & kDuplexBit) != 0};
}

std::uint16_t EncodePrintSettings(const PrintChoice& choice) {
  return static_cast<std::uint16_t>((choice.printMode & kPrintModeBits) | (choice.legalPaper ? kLegalPaperBit : 0) |
                                    (choice.duplexPrint ? kDuplexBit : 0));
}

std::string HexText(std::uint32_t value, unsigned width) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kHexDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (width == 0 || digits.size() == width) return digits;
  if (digits.size() < width) return std::string(width - digits.size(), '0') + digits;
  return digits.substr(digits.size() - width);
}

std::uint32_t HexValue(std::string_view text) {
  std::uint32_t result = 0;
  for (char c : text) {
    const auto digit = kHexDigits.find(AsciiUpper(c));
    if (digit != std::string_view::npos) result = result * 16 + static_cast<std::uint32_t>(digit);
  }
  return result;
}

void ParseSettings(const std::vector<std::string>& lines, Settings& settings) {
  std::string* const values[] = {&settings.optReserved, &settings.reportLetters, &settings.trackLetters,
                                 &settings.optCodes};
  const std::size_t linesRead = std::min<std::size_t>(lines.size(), std::size(values));
  for (std::size_t i = 0; i < linesRead; ++i) *values[i] = CutText(lines[i], kSettingTextLimit);
  if (linesRead == kSettingLineCount) {
    const std::string& codes = settings.optCodes;
    settings.printSettings = static_cast<std::uint16_t>(HexValue(codes.size() >= 1 ? codes.substr(0, 1) : "2"));
    settings.maxPerfLines = static_cast<std::uint16_t>(HexValue(codes.size() >= 2 ? codes.substr(1, 1) : "7"));
  }
  settings.trackLetters = CutText(settings.trackLetters + "G", kSettingTextLimit);
}

std::string FormatSettings(Settings& settings) {
  settings.optCodes =
      CutText(HexText(settings.printSettings, 1) + HexText(settings.maxPerfLines, 1), kSettingTextLimit);
  std::string bytes;
  for (const std::string* value :
       {&settings.optReserved, &settings.reportLetters, &settings.trackLetters, &settings.optCodes})
    bytes.append(*value).append("\r\n");
  return bytes;
}

void ReadSettings(const std::string& path, Settings& settings) {
  if (!FileExists(path)) return;
  ParseSettings(ReadLines(path, kSettingLineCount), settings);
}

void WriteSettings(const std::string& path, Settings& settings) { ReplaceFile(path, FormatSettings(settings)); }
