#include "base/cp437.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

std::string AllBytes() {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
  return bytes;
}

TEST(Cp437, EveryByteRoundTripsThroughUtf8) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(Utf8ToCp437(Cp437ToUtf8(bytes)), bytes);
  std::set<char32_t> distinct(kCp437Characters.begin(), kCp437Characters.end());
  EXPECT_EQ(distinct.size(), 256u) << "two bytes would show the same character";
}

TEST(Cp437, BytesShowTheirCodePageCharacters) {
  struct Case {
    unsigned byte;
    char32_t character;
  } const cases[] = {
      {0x00, 0x2400}, {0x01, 0x263A}, {0x02, 0x263B}, {0x0A, 0x000A}, {0x0C, 0x2640},  //
      {0x0D, 0x000D}, {0x1A, 0x2192}, {0x41, U'A'},   {0x7F, 0x2302}, {0x80, 0x00C7},  //
      {0xB3, 0x2502}, {0xB4, 0x2524}, {0xC0, 0x2514}, {0xC1, 0x2534}, {0xC2, 0x252C},  //
      {0xC3, 0x251C}, {0xC4, 0x2500}, {0xD9, 0x2518}, {0xDA, 0x250C}, {0xFF, 0x00A0},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp437ToUnicode(static_cast<std::uint8_t>(c.byte)), c.character) << c.byte;
  // A table corner as the view receives it: box drawing, not accented letters.
  EXPECT_EQ(Cp437ToUtf8("\xDA\xC4\xC2\xB3"), "\u250C\u2500\u252C\u2502");
}

TEST(Cp437, CharactersTheCodePageCannotHoldBecomeQuestionMarks) {
  using namespace std::string_literals;
  struct Case {
    std::string utf8;
    std::string bytes;
  } const cases[] = {
      {"\u20AC", "?"},                          // euro sign
      {"a\xE2\x82z", "a??z"},                   // cut-off sequence: each byte replaced
      {"\xC0\xAF", "??"},                       // overlong form of "/"
      {"\xED\xA0\x80", "???"},                  // a surrogate
      {"\xF0\x9F\x98\x80!", "?!"},              // outside the basic plane
      {"\t\f", "\t\f"},                         // typed control characters keep their bytes
      {"\u2400\u263A\u00E9", "\x00\x01\x82"s},  // pictures give back their bytes
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp437(c.utf8), c.bytes) << c.utf8;
}

}  // namespace
