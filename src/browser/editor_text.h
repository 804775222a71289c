// The text of the scratch editor and the page lines behind it: code page 437
// lines shown as UTF-8, and the edited UTF-8 text turned back into code page 437
// lines, through the one code page table both ways. No Qt, no file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The editor text of a page: each line as UTF-8 followed by "\n", as a text file
// holds its lines, so an empty page and a page of one empty line stay apart.
std::string EditorText(const std::vector<std::string>& pageLines);

// The page lines of an edited UTF-8 text: the text cut at "\n" and at the line and
// paragraph separators U+2028 and U+2029 (which an editor may insert), a final empty
// piece after the last line end dropped; each line as code page 437 bytes, with "?"
// for a character the code page cannot hold. EditorLines(EditorText(lines)) == lines
// for lines without line ends.
std::vector<std::string> EditorLines(std::string_view text);
