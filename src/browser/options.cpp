#include "browser/options.h"

#include <algorithm>
#include <map>

#include "base/text.h"

namespace {

// Readers look at no more slots than this, even when none is empty.
constexpr std::size_t kTrackSlotLimit = 26;

}  // namespace

OptionsChoice OptionsFromSettings(const Settings& settings) {
  OptionsChoice choice;
  for (std::size_t i = 0; i < kReportOptionLetters.size(); ++i)
    choice.reportKinds[i] = settings.reportLetters.find(kReportOptionLetters[i]) != std::string::npos;

  for (std::size_t slot = 0; slot < TrackGroups.size() && slot < kTrackSlotLimit; ++slot) {
    const std::string_view text = TrackGroups[slot];
    if (text.empty()) break;
    const bool checked = text.size() >= 3 && text[0] == '(' && text[2] == ')' &&
                         settings.trackLetters.find(text[1]) != std::string::npos;
    choice.tracks.push_back({std::string(text), checked});
  }

  choice.maxPerfLines = std::clamp(static_cast<int>(settings.maxPerfLines), kMinPerfLines, kMaxPerfLines);
  return choice;
}

bool StoreOptions(const OptionsChoice& choice, Settings& settings) {
  std::string reportLetters;
  for (std::size_t i = 0; i < kReportOptionLetters.size(); ++i)
    if (choice.reportKinds[i]) reportLetters += kReportOptionLetters[i];

  std::string trackLetters;
  for (const TrackOption& track : choice.tracks)
    if (track.checked && track.text.size() >= 2) trackLetters += track.text[1];

  const auto maximum = static_cast<std::uint16_t>(std::clamp(choice.maxPerfLines, kMinPerfLines, kMaxPerfLines));
  const bool maximumChanged = maximum != settings.maxPerfLines;
  settings.reportLetters = reportLetters;
  settings.trackLetters = CutText(trackLetters, kSettingTextLimit);
  settings.maxPerfLines = maximum;
  return maximumChanged;
}

ListMarks RecordMarks(const PageList& list) {
  ListMarks marks;
  marks.items.reserve(list.items.size());
  for (const PageItem& item : list.items) marks.items.push_back({item.text, item.checked});
  if (list.selected >= 0 && list.selected < static_cast<int>(list.items.size()))
    marks.selectedText = list.items[static_cast<std::size_t>(list.selected)].text;
  return marks;
}

void CarryMarksOver(const ListMarks& marks, PageList& list) {
  // A later recorded item overwrites an earlier one of the same text: the last one wins.
  std::map<std::string, bool> recorded;
  for (const RecordedItem& item : marks.items) recorded[item.text] = item.checked;
  for (PageItem& item : list.items)
    if (const auto found = recorded.find(item.text); found != recorded.end()) item.checked = found->second;

  if (!marks.selectedText) return;
  for (std::size_t i = 0; i < list.items.size(); ++i)
    if (list.items[i].text == *marks.selectedText) list.selected = static_cast<int>(i);
}
