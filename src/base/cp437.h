// Code page 437, the character set of the report texts, and Unicode: one table of
// 256 distinct characters, so every byte survives a trip through a text widget and
// back. Converts whole texts between code page 437 bytes and UTF-8. No Qt, no
// system conversion libraries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The character shown for each byte. Bytes 32-126 are ASCII and 128-255 the code
// page's letters, symbols and box-drawing characters. Line ends stay what they are
// (10 is U+000A, 13 is U+000D); every other control byte shows its code page 437
// picture (1 is U+263A, 12 is U+2640, 27 is U+2190, 127 is U+2302), and byte 0,
// which has no picture of its own, shows U+2400 (the symbol for NUL).
extern const std::array<char32_t, 256> kCp437Characters;

// The character a byte shows.
inline char32_t Cp437ToUnicode(std::uint8_t byte) { return kCp437Characters[byte]; }

// The byte that shows `character`; nullopt when code page 437 has none. The
// characters U+0000-U+001F and U+007F also give their own byte, so a tab or a form
// feed typed in an editor is kept as that control byte.
std::optional<std::uint8_t> UnicodeToCp437(char32_t character);

// The UTF-8 text that shows `bytes`, byte for byte.
std::string Cp437ToUtf8(std::string_view bytes);

// The code page 437 bytes of a UTF-8 text. A character the code page cannot hold,
// and every byte of a malformed UTF-8 sequence, becomes "?".
std::string Utf8ToCp437(std::string_view utf8);
