// Scratching horses from a report page: inside each odds table the lines marked
// with an exclamation mark are dropped and both odds columns of the remaining
// entries are re-normalised so that their implied chances add up to one again.
// Also loads and saves the page text for the editor. No Qt, no dialog.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Lines of a rewritten page keep at most this many characters.
inline constexpr std::size_t kScratchLineLimit = 127;

// The work file of a rewrite, relative to the working folder.
inline constexpr std::string_view kScratchWorkFile = "Vantrose.TMP";

// An odds table starts with an 80-character line whose characters 70 to 78 are
// two horizontal bars, a down-tee, four horizontal bars, a down-tee and a
// horizontal bar (code page 437); the tees stand above the two decimal points.
bool IsTableStartLine(std::string_view line);

// An entry of an odds table: 80 characters with full stops at characters 72
// and 77; characters 70 to 73 and 75 to 78 hold the two odds values.
bool IsEntryLine(std::string_view line);

// The page text as the rewrite leaves it: every line cut to kScratchLineLimit
// characters; in each table (the entry and marked lines after a start line, up
// to the first other line, or to the end of the page) the marked lines dropped
// and the two odds columns re-normalised, whatever the number of entries. A
// table with an odds value of -1.0 or below, or one that does not read as a
// number, has no valid chance: it is kept unchanged, marked lines included. The
// line that ends a table is copied and never starts a table itself.
std::vector<std::string> ScratchLines(const std::vector<std::string>& lines);

// The lines of the page file at `pagePath`, for the editor. Throws IoError
// ("File not found" naming the path when no file is there; for a folder such as a
// filler's path, which names no file, the text alone).
std::vector<std::string> LoadPageLines(const std::string& pagePath);

// Replaces the page file at `pagePath` with `lines`, each ended by CR LF; a failure
// leaves the old page whole. Throws IoError.
void SavePageLines(const std::string& pagePath, const std::vector<std::string>& lines);

// Rewrites the page file `pageName` in `baseFolder` through the work file as
// ScratchLines does, then renames the work file over the page, so the page is
// always whole: the old text until the rename, the new one after it. Throws IoError
// ("File not found" for a missing page or an empty name); no work file is left.
void ScratchPage(const std::string& baseFolder, std::string_view pageName);

// The editor's "OK": saves `editedLines` over the page `pageName` and scratches it.
// Either both steps succeed or the page keeps its old bytes. Throws IoError.
void ApplyScratchEdit(const std::string& baseFolder, std::string_view pageName,
                      const std::vector<std::string>& editedLines);
