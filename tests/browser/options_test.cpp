#include "browser/options.h"

#include <gtest/gtest.h>

namespace {

std::string CheckedGroupLetters(const OptionsChoice& choice) {
  std::string letters;
  for (const TrackOption& track : choice.tracks)
    if (track.checked) letters += track.text[1];
  return letters;
}

TEST(OptionsFromSettings, DefaultSettingsCheckEveryGroupAndTheReportsAXE) {
  const OptionsChoice choice = OptionsFromSettings(Settings{});
  ASSERT_EQ(choice.tracks.size(), 25u);
  EXPECT_EQ(choice.tracks.front().text, "(A) Tam                 ");
  EXPECT_EQ(choice.tracks.back().text, "(Y) Bel Aqu Sar         ");
  EXPECT_EQ(CheckedGroupLetters(choice), "ABCDEFGHIJKLMNOPQRSTUVWXY");
  EXPECT_EQ(choice.reportKinds, (std::array<bool, 4>{true, true, true, false}));
  EXPECT_EQ(choice.maxPerfLines, 7);
}

TEST(OptionsFromSettings, ChecksFollowTheLettersAndTheMaximumIsBroughtIntoRange) {
  struct Case {
    std::string reportLetters;
    std::string trackLetters;
    std::uint16_t maxPerfLines;
    std::array<bool, 4> reportKinds;
    std::string checkedGroups;
    int shownMaximum;
  };
  const Case cases[] = {
      {"B", "KA", 3, {false, false, false, true}, "AK", 3},
      {"EXBA", "@Z", 14, {true, true, true, true}, "", 14},  // "@" and "Z" name no group
      {"", "", 0, {false, false, false, false}, "", 1},
      {"xa", "y(", 15, {false, false, false, false}, "", 14},  // letters are compared as they are
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.reportLetters = c.reportLetters;
    settings.trackLetters = c.trackLetters;
    settings.maxPerfLines = c.maxPerfLines;
    const OptionsChoice choice = OptionsFromSettings(settings);
    EXPECT_EQ(choice.reportKinds, c.reportKinds) << c.reportLetters;
    EXPECT_EQ(CheckedGroupLetters(choice), c.checkedGroups) << c.trackLetters;
    EXPECT_EQ(choice.maxPerfLines, c.shownMaximum) << c.maxPerfLines;
  }
}

TEST(StoreOptions, WritesTheLettersInDialogOrderAndTellsWhetherTheMaximumChanged) {
  struct Case {
    std::array<bool, 4> reportKinds;
    std::string checkedGroups;  // group letters to check, any order
    int maximum;
    std::string reportLetters;
    std::string trackLetters;
    bool applyPerfLimit;
  };
  const Case cases[] = {
      {{true, true, true, false}, "ABCDEFGHIJKLMNOPQRSTUVWXY", 7, "AXE", "ABCDEFGHIJKLMNOPQRSTUVWXY", false},
      {{false, true, false, true}, "YKA", 3, "XB", "AKY", true},
      {{false, false, false, false}, "", 7, "", "", false},
      {{true, false, true, true}, "G", 14, "AEB", "G", true},
  };
  for (const Case& c : cases) {
    Settings settings;  // "AXE", "@A..Z", maximum 7
    OptionsChoice choice = OptionsFromSettings(settings);
    choice.reportKinds = c.reportKinds;
    for (TrackOption& track : choice.tracks) track.checked = c.checkedGroups.find(track.text[1]) != std::string::npos;
    choice.maxPerfLines = c.maximum;
    EXPECT_EQ(StoreOptions(choice, settings), c.applyPerfLimit) << c.trackLetters;
    EXPECT_EQ(settings.reportLetters, c.reportLetters);
    EXPECT_EQ(settings.trackLetters, c.trackLetters);
    EXPECT_EQ(settings.maxPerfLines, c.maximum);
  }
}

PageList ListOf(const std::vector<std::pair<std::string, bool>>& items, int selected) {
  PageList list;
  for (const auto& [text, checked] : items) list.items.push_back({text, std::nullopt, checked});
  list.selected = selected;
  return list;
}

std::vector<bool> Checks(const PageList& list) {
  std::vector<bool> checks;
  for (const PageItem& item : list.items) checks.push_back(item.checked);
  return checks;
}

TEST(CarryMarksOver, TheLastEqualRecordedItemGivesTheCheckAndNewPagesKeepTheirDefault) {
  // The user unchecked A01Tam, checked X01Tam and the second filler; A01Tam is listed twice.
  const PageList before = ListOf({{"A01Tam", false}, {"", false}, {"X01Tam", true}, {"", true}, {"A01Tam", true}}, 0);
  PageList after = ListOf({{"A01Tam", true}, {"E01Tam", true}, {"", false}, {"X01Tam", false}, {"X02Tam", false}}, 1);
  CarryMarksOver(RecordMarks(before), after);
  EXPECT_EQ(Checks(after), (std::vector<bool>{true, true, true, true, false}));
}

TEST(CarryMarksOver, SelectionFollowsItsTextToTheLastEqualItem) {
  struct Case {
    int selectedBefore;
    int selectedAfter;
  };
  const PageList before = ListOf({{"A01Tam", true}, {"", false}, {"E09Zzz", true}, {"A02Tam", true}}, 0);
  // The rebuilt list selects its first page, item 1, by itself.
  const PageList rebuilt = ListOf({{"", false}, {"E01Tam", true}, {"A01Tam", true}, {"", false}, {"A02Tam", true}}, 1);
  const Case cases[] = {
      {0, 2},           // a page still listed
      {3, 4},  {1, 3},  // a filler: the last filler of the new list
      {2, 1},           // a page no longer listed: the rebuilt list's own selection
      {-1, 1},          // nothing selected: the rebuilt list's own selection, not a filler
  };
  for (const Case& c : cases) {
    PageList old = before;
    old.selected = c.selectedBefore;
    PageList after = rebuilt;
    CarryMarksOver(RecordMarks(old), after);
    EXPECT_EQ(after.selected, c.selectedAfter) << c.selectedBefore;
  }
}

TEST(CarryMarksOver, AnEmptyRebuiltListStaysEmptyWithoutSelection) {
  PageList after;
  CarryMarksOver(RecordMarks(ListOf({{"A01Tam", true}, {"", false}}, 1)), after);
  EXPECT_TRUE(after.items.empty());
  EXPECT_EQ(after.selected, -1);
}

}  // namespace
