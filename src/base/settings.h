// The user's choices that survive a restart: the four-line settings file
// "Exec/Vantrose.OPT" and the two hexadecimal conversions it is written with.
// Reading and writing take the file's path; parsing and formatting work on bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kSettingTextLimit = 31;
inline constexpr std::size_t kSettingLineCount = 4;

struct Settings {
  std::string optReserved = "0000";                          // line 1, kept as read
  std::string reportLetters = "AXE";                         // line 2: report kinds listed
  std::string trackLetters = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // line 3: track groups listed
  std::string optCodes = "27";                               // line 4: PrintSettings, MaxPerfLines
  std::uint16_t printSettings = 2;                           // bits 0-2 print mode, bit 3 legal paper, bit 4 duplex
  std::uint16_t maxPerfLines = 7;                            // performance lines kept per table on E pages
};

// The print choices packed into the PrintSettings word.
struct PrintChoice {
  int printMode = 0;  // 0..7
  bool legalPaper = false;
  bool duplexPrint = false;
};

// PrintSettings bits 0-2 are the print mode, bit 3 legal paper, bit 4 duplex; the
// other bits are ignored when reading and cleared when writing.
PrintChoice DecodePrintSettings(std::uint16_t word);
std::uint16_t EncodePrintSettings(const PrintChoice& choice);

// `value` as upper-case hexadecimal digits brought to `width` characters: zeros in
// front when shorter, the rightmost `width` digits when longer; width 0 keeps all digits.
std::string HexText(std::uint32_t value, unsigned width);

// The value of the hexadecimal digits of `text` (either case); other characters are
// skipped; overflow wraps at 32 bits.
std::uint32_t HexValue(std::string_view text);

// Applies the first lines of a settings file (at most four are used) to `settings`: lines 1 to 4 in turn, each cut to
// 31 characters; a missing line keeps its value. When line 4 was read, PrintSettings
// and MaxPerfLines come from its characters 1 and 2 ("2" and "7" stand in for missing
// ones). Finally "G" is appended to TrackLetters (cut to 31), so group G is always listed.
void ParseSettings(const std::vector<std::string>& lines, Settings& settings);

// The settings file's bytes; also sets `settings.optCodes` from PrintSettings and MaxPerfLines.
std::string FormatSettings(Settings& settings);

// Reads the file when it exists (nothing happens otherwise). Throws IoError.
void ReadSettings(const std::string& path, Settings& settings);
// Replaces the file atomically with FormatSettings(settings). Throws IoError.
void WriteSettings(const std::string& path, Settings& settings);
