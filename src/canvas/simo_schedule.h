// The simulcast schedule printout: narrows the schedule to the tracks of the checked
// report pages, plans how many lines go on a page, and draws the pages through a
// printer canvas with a race-date heading on each. It sets no orientation; the
// dialog for its options and the view of the file belong to the windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "import/simo_table.h"
#include "platform/printer_canvas.h"

// How the schedule is spread: on one page, on two (which may share a sheet, "2-up"),
// or on more pages.
enum class SimoPageKind { OnePage = 1, TwoPages = 2, MorePages = 3 };

struct SimoPlan {
  std::uint16_t linesPerPage = 0;  // a multiple of 4, 32 to 64
  SimoPageKind kind = SimoPageKind::OnePage;
};

// Lines per page and the page kind for `lineCount` lines with the optimum and maximum
// lines per page (each held to 32..64 and rounded down to a multiple of 4; an optimum
// above the maximum is lowered to it). Up to the optimum: one page of optimum spacing;
// up to the maximum: one page spaced for the count rounded up to a multiple of 4; up to
// twice the maximum: two pages of about half each, held to optimum..maximum; beyond
// that: pages of optimum spacing.
SimoPlan PlanSimoPages(std::uint16_t optimumLines, std::uint16_t maximumLines, std::size_t lineCount);

// The lines of `simoTable`, in order, whose track code (characters 20 to 22) equals
// characters 4 to 6 of at least one of `checkedItemTexts` (the texts of the checked
// items of the report list), compared exactly. A line or text too short to hold all
// three characters matches nothing.
std::vector<std::string> FilterSimoLines(const SimoTable& simoTable, const std::vector<std::string>& checkedItemTexts);

// Replaces the schedule file at `schedulePath` with `lines`, each ended by CR LF; the
// old file stays whole when writing fails. Throws IoError.
void WriteSimoDump(const std::string& schedulePath, const std::vector<std::string>& lines);

// Prints `lines` (not empty) as one job in pages of `plan.linesPerPage` lines, each page
// headed by `dateText`, lines in groups of four. A two-page schedule goes on one sheet,
// the second page on the right half, when `twoUp` (the stored 2-up setting) is set;
// otherwise every page takes a sheet of its own. Prints nothing for no lines.
void PrintSimoPages(PrinterCanvas& canvas, const std::vector<std::string>& lines, const SimoPlan& plan,
                    const std::string& dateText, bool twoUp);
