// Print-file text for the PCL tests: pages made of named lines in blocks.
#pragma once

#include <string>
#include <vector>

namespace print_text_fixtures {

using Lines = std::vector<std::string>;

// A print-file page: every line ended by CR LF, the page by a form feed.
inline std::string PageText(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text + "\f";
}

// Blocks of the given sizes with one blank line between them; lines are named
// "b<block>l<line>" from 1.
inline Lines BlockLines(const std::vector<int>& sizes) {
  Lines lines;
  for (std::size_t b = 0; b < sizes.size(); ++b) {
    if (b > 0) lines.emplace_back();
    for (int i = 1; i <= sizes[b]; ++i) lines.push_back("b" + std::to_string(b + 1) + "l" + std::to_string(i));
  }
  return lines;
}

}  // namespace print_text_fixtures
