// The report and track options as values: what the options dialog shows for the
// settings, the settings a confirmed dialog stores, and the check marks and
// selection carried from the old page list to the rebuilt one. No dialog, no
// list widget, no file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"
#include "import/page_index.h"

// The items of `ReportOptions` and the report letters they stand for, in dialog order.
inline constexpr std::array<std::string_view, 4> kReportOptionTexts = {"(A)  Vantrose-A", "(X)  Main Track",
                                                                       "(E)  Performances", "(B)  Vantrose-B"};
inline constexpr std::string_view kReportOptionLetters = "AXEB";

// The range of `emaxupdown`.
inline constexpr int kMinPerfLines = 1;
inline constexpr int kMaxPerfLines = 14;

// One item of `TrackOptions`: a TrackGroups slot's text and its check mark.
struct TrackOption {
  std::string text;
  bool checked = false;
};

// What the options dialog shows and gives back.
struct OptionsChoice {
  std::array<bool, 4> reportKinds{};  // the ReportOptions items, in kReportOptionTexts order
  std::vector<TrackOption> tracks;    // the TrackOptions items, in table order
  int maxPerfLines = 7;               // the emaxupdown position
};

// The dialog's values for `settings`: a report item checked when its letter is in
// ReportLetters; one track item per TrackGroups slot up to the first empty one (at
// most 26), checked when the text starts with "(", a letter of TrackLetters and ")";
// the maximum brought into 1..14, as the up-down shows it.
OptionsChoice OptionsFromSettings(const Settings& settings);

// Stores a confirmed `choice`: ReportLetters from the checked report items in the
// order A, X, E, B; TrackLetters from the group letters (second character) of the
// checked track items in table order; MaxPerfLines from the maximum. Returns
// whether the maximum differs from the one stored before, which is the new
// ApplyPerfLimit: E pages are cut again only when the maximum changed.
bool StoreOptions(const OptionsChoice& choice, Settings& settings);

// An item of the page list as it was before a rebuild.
struct RecordedItem {
  std::string text;
  bool checked = false;
};

// The check marks and the selection of a page list, kept across a rebuild.
struct ListMarks {
  std::vector<RecordedItem> items;          // every item, in list order
  std::optional<std::string> selectedText;  // the selected item's text; none when nothing was selected
};

ListMarks RecordMarks(const PageList& list);

// Gives each item of the rebuilt `list` the check mark of the last recorded item with
// the same text (fillers, all of empty text, take the last recorded filler's mark);
// items new to the list keep their default. Selects the last item whose text equals
// the recorded selection (a recorded filler selects the last filler); when nothing
// matches, or nothing was selected before, the list's own selection stays.
void CarryMarksOver(const ListMarks& marks, PageList& list);
