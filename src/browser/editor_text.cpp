#include "browser/editor_text.h"

#include "base/cp437.h"

namespace {

// U+2028 LINE SEPARATOR and U+2029 PARAGRAPH SEPARATOR in UTF-8.
constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";
constexpr std::string_view kParagraphSeparator = "\xE2\x80\xA9";

// The length of the line end starting at `text[pos]`; 0 when there is none.
std::size_t LineEndAt(std::string_view text, std::size_t pos) {
  if (text[pos] == '\n') return 1;
  const std::string_view rest = text.substr(pos);
  if (rest.starts_with(kLineSeparator) || rest.starts_with(kParagraphSeparator)) return kLineSeparator.size();
  return 0;
}

}  // namespace

std::string EditorText(const std::vector<std::string>& pageLines) {
  std::string text;
  for (const std::string& line : pageLines) {
    text += Cp437ToUtf8(line);
    text += '\n';
  }
  return text;
}

std::vector<std::string> EditorLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t lineStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t endLength = LineEndAt(text, pos);
    if (endLength == 0) {
      ++pos;
      continue;
    }
    lines.push_back(Utf8ToCp437(text.substr(lineStart, pos - lineStart)));
    pos += endLength;
    lineStart = pos;
  }
  if (lineStart < text.size()) lines.push_back(Utf8ToCp437(text.substr(lineStart)));
  return lines;
}
