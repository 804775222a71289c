#include "browser/editor_text.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorText, EveryByteButTheLineEndsComesBackAsItWas) {
  std::vector<std::string> lines(1);
  for (int byte = 0; byte < 256; ++byte) {
    if (byte == '\n' || byte == '\r') continue;
    if (lines.back().size() == 40) lines.emplace_back();
    lines.back() += static_cast<char>(byte);
  }
  lines.emplace_back();  // an empty line keeps its place too
  lines.emplace_back("\f@A01Tam");
  EXPECT_EQ(EditorLines(EditorText(lines)), lines);
}

TEST(EditorText, ShowsBoxDrawingAndControlBytesAsTheirCharacters) {
  // Byte 179 is the vertical bar, 12 (form feed) its picture, 255 the no-break space.
  EXPECT_EQ(EditorText({"\xB3\x0C", "a\xFF"}), "\u2502\u2640\na\u00A0\n");
}

TEST(EditorLines, CutsTheEditedTextIntoCodePage437Lines) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\n", {""}},
      {"one\ntwo", {"one", "two"}},  // the last line without its line end
      {"one\ntwo\n\n", {"one", "two", ""}},
      {"a\u2029b\u2028c", {"a", "b", "c"}},  // the editor's paragraph and line separators
      {"\u20AC 5 \u00BD", {"? 5 \xAB"}},     // no euro in code page 437; one half is byte 171
      {"\t\f", {"\t\f"}},                    // typed control characters keep their bytes
      {"\xFF\xFEx", {"??x"}},                // malformed UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(EditorLines(c.text), c.lines) << c.text;
}

}  // namespace
