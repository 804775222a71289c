// Builds the page list the user sees from the reports of a split: the report kinds
// and track groups the settings choose, laid out in columns of 15 (B pages, then E
// pages, track by track, then A columns each followed by a column of matching X
// pages), with default check marks and a selection. Trims E pages to a number of
// performance lines per table. The list is a plain model; showing it is the window's.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/report_split.h"

// Rows of one column of the page list.
inline constexpr std::size_t kPageColumnRows = 15;
// Characters of a line that trimming looks at and keeps.
inline constexpr std::size_t kTrimLineLimit = 127;

// `TrackGroups`: 32 slots (index 0 is slot 1), the first 25 holding "(L) " and the
// group's track codes, padded with blanks to 24 characters; the rest empty.
extern const std::array<std::string_view, 32> TrackGroups;

// One item of `ReportListBox`: a report page, or a filler with empty text.
struct PageItem {
  std::string text;                   // the page file's name; empty for a filler
  std::optional<std::size_t> report;  // its entry in the report table; none for a filler
  bool checked = false;
};

struct PageList {
  std::vector<PageItem> items;
  int selected = -1;  // -1: nothing selected
};

// What the settings say about the list.
struct PageChoice {
  std::string reportLetters;   // report kinds listed: any of "A", "X", "E", "B"
  std::string trackLetters;    // group letters of TrackGroups listed
  bool applyPerfLimit = true;  // trim the listed E pages now
  int maxPerfLines = 7;        // performance lines kept per table, used as 1..14
};

// Characters 4 to 6 of a report name (fewer for a shorter name).
std::string TrackCode(std::string_view name);

// True when some TrackGroups slot before the first empty one contains `trackCode`
// and its group letter is in `trackLetters`. An empty code is in no slot.
bool TrackListed(std::string_view trackCode, std::string_view trackLetters);

// Checks every item with text that does not begin with "X"; clears the others.
void SetDefaultChecks(PageList& list);

// Fills `list` with the chosen pages of `reports` (files in `baseFolder`), checks
// them by default and selects the first page. When `choice.applyPerfLimit` is set,
// each listed E page is trimmed as it is met. `list` is emptied first; an IoError
// from trimming leaves it empty.
void BuildPageList(const std::string& baseFolder, const ReportTable& reports, const PageChoice& choice, PageList& list);

// Rewrites `pagePath` from `twinPath`, keeping per performance table the lines up to
// the `maxPerfLines`-th `PerformanceLine` (limited to 1..14) and the table's bottom
// line; lines outside tables are copied. Lines are cut to 127 characters. The page
// is replaced only when complete. Throws IoError (a missing twin: "File not found").
void TrimPerformances(const std::string& twinPath, const std::string& pagePath, int maxPerfLines);
