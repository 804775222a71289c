#include "import/page_index.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

const std::vector<std::string> kNoX;

ReportTable Reports(const std::vector<std::string>& names) {
  ReportTable table;
  for (const std::string& name : names) table.files.push_back({name, TwinName(name)});
  table.splitComplete = true;
  return table;
}

// `texts` followed by fillers up to a whole column.
std::vector<std::string> Column(std::vector<std::string> texts) {
  while (texts.size() % kPageColumnRows != 0) texts.emplace_back();
  return texts;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> columns) {
  std::vector<std::string> all;
  for (const auto& column : columns) all.insert(all.end(), column.begin(), column.end());
  return all;
}

std::vector<std::string> Texts(const PageList& list) {
  std::vector<std::string> texts;
  for (const PageItem& item : list.items) texts.push_back(item.text);
  return texts;
}

PageList Build(const std::vector<std::string>& names, const std::string& reportLetters,
               const std::string& trackLetters = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ") {
  PageList list;
  BuildPageList("", Reports(names), PageChoice{reportLetters, trackLetters, false, 7}, list);
  return list;
}

TEST(TrackGroups, TwentyFiveGroupsOf24CharactersThenEmptySlots) {
  for (std::size_t slot = 0; slot < TrackGroups.size(); ++slot) {
    SCOPED_TRACE(slot + 1);
    if (slot < 25) {
      EXPECT_EQ(TrackGroups[slot].size(), 24u);
      EXPECT_EQ(TrackGroups[slot][1], static_cast<char>('A' + slot));
    } else {
      EXPECT_TRUE(TrackGroups[slot].empty());
    }
  }
}

TEST(PageIndex, TrackFiltersFollowTheGroupsAndTheirLetters) {
  struct Case {
    const char* code;
    const char* letters;
    bool listed;
  } const cases[] = {
      {"Tam", "A", true},
      {"Tam", "B", false},
      {"Aqu", "Y", true},
      {"Kee", "ABCDEFGHIJLMN", false},
      {"CDx", "K", true},
      {"ElP", "@", false},
      {"Zzz", "@ABCDEFGHIJKLMNOPQRSTUVWXY", false},
      {"", "A", false},
      {"T", "A", true},  // a short code is looked for inside the slot texts
      {"(A)", "A", true},
      {"tam", "A", false},  // letter case counts
  };
  for (const Case& c : cases) EXPECT_EQ(TrackListed(c.code, c.letters), c.listed) << c.code << " " << c.letters;

  EXPECT_EQ(TrackCode("A01Tam"), "Tam");
  EXPECT_EQ(TrackCode("A01TamMore"), "Tam");
  EXPECT_EQ(TrackCode("A01Ta"), "Ta");
  EXPECT_EQ(TrackCode("A01"), "");
}

TEST(PageIndex, LayoutsOfTheReportKindsAndTracks) {
  const std::vector<std::string> sevenA = {"A01Tam", "A02Tam", "A03Tam", "A04Tam", "A05Tam", "A06Tam", "A07Tam"};
  std::vector<std::string> sevenAWithX = sevenA;
  sevenAWithX.push_back("X01Tam");
  std::vector<std::string> xColumn(7, "X01Tam");

  struct Case {
    const char* title;
    std::vector<std::string> names;
    std::string reportLetters;
    std::string trackLetters;
    std::vector<std::string> items;
  } const cases[] = {
      {"three B of one track, two of another",
       {"B05Tam", "B04Tam", "B03Aqu", "B01Aqu", "B02Aqu"},
       "B",
       "AY",
       Join({Column({"B01Aqu", "B02Aqu", "B03Aqu"}), Column({"B04Tam", "B05Tam"})})},
      {"tracks follow the order of the whole names, so a track can come back",
       {"E01Aqu", "E02Aqu", "E01Kee"},
       "E",
       "KY",
       Join({Column({"E01Aqu"}), Column({"E01Kee"}), Column({"E02Aqu"})})},
      {"B, then E, then A with X",
       {"A01Tam", "X01Tam", "E01Tam", "B01Tam", "Z01Tam"},
       "ABEX",
       "A",
       Join({Column({"B01Tam"}), Column({"E01Tam"}), Column({"A01Tam"}), Column({"X01Tam"})})},
      {"seven A pages and one X page of their track", sevenAWithX, "AX", "A", Join({Column(sevenA), Column(xColumn)})},
      {"without X the column after the A column stays empty", sevenAWithX, "AE", "A",
       Join({Column(sevenA), Column({""})})},
      {"without A no X page is listed", {"X01Tam", "E01Tam"}, "XE", "A", Column({"E01Tam"})},
      {"AXE lists no B page", {"B01Tam", "A01Tam"}, "AXE", "A", Join({Column({"A01Tam"}), Column({""})})},
      {"the last X page of a track wins; rows of other tracks get theirs",
       {"A01Tam", "X01Tam", "A01Aqu", "X02Tam", "X01GPx"},
       "AX",
       "AFY",
       Join({Column({"A01Aqu", "A01Tam"}), Column({"", "X02Tam"})})},
      {"an unlisted group or unknown track is never listed",
       {"A01Kee", "A01CDx", "A01Zzz", "A01Tam"},
       "A",
       "@ABCDEFGHIJLMNOPQRSTUVWXYZ",
       Join({Column({"A01Tam"}), Column({""})})},
      {"names sort byte by byte, a prefix first",
       {"B01Tamx", "B1ATam", "B01Tam", "B01TamA"},
       "B",
       "A",
       Column({"B01Tam", "B01TamA", "B01Tamx", "B1ATam"})},
      {"nothing listed", {"A01Tam"}, "XEB", "A", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(Texts(Build(c.names, c.reportLetters, c.trackLetters)), c.items);
  }
}

TEST(PageIndex, MoreThan31APagesGetFurtherColumnPairs) {
  std::vector<std::string> names;
  for (int i = 10; i < 50; ++i) names.push_back("A" + std::to_string(i) + "Tam");
  names.push_back("X01Tam");
  const PageList list = Build(names, "AX", "A");
  ASSERT_EQ(list.items.size(), 6 * kPageColumnRows);  // three A columns, each with its X column
  for (std::size_t i = 0; i < 40; ++i) {
    const std::size_t position = (i / 15) * 30 + i % 15;
    EXPECT_EQ(list.items[position].text, names[i]);
    EXPECT_EQ(list.items[position + 15].text, "X01Tam");
  }
  for (std::size_t position = 70; position < 75; ++position) EXPECT_EQ(list.items[position].text, "");
}

TEST(PageIndex, ItemsOpenTheirOwnReportAndTakeDefaultChecksAndSelection) {
  const std::vector<std::string> names = {"A01Tam", "X01Tam", "A01Tam~2", "E01Tam"};
  const PageList list = Build(names, "AXE", "A");
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const PageItem& item = list.items[i];
    SCOPED_TRACE(i);
    if (item.text.empty()) {
      EXPECT_FALSE(item.report);
      EXPECT_FALSE(item.checked);
    } else {
      ASSERT_TRUE(item.report);
      EXPECT_EQ(names[*item.report], item.text);
      EXPECT_EQ(item.checked, item.text.front() != 'X');
    }
  }
  EXPECT_EQ(list.items[15].text, "A01Tam");
  EXPECT_EQ(list.items[16].text, "A01Tam~2");
  EXPECT_EQ(list.selected, 0);

  const PageList onlyA = Build({"A01Tam"}, "A", "A");
  EXPECT_EQ(onlyA.selected, 0);
  EXPECT_EQ(Build({}, "AXEB", "A").selected, -1);
}

// ---- Trimming ----

// Lines of an E page's performance tables, by letter: T the heading with the table's
// top, P a performance line, S a spacer row, B the bottom, Q a line with the bars of a
// performance line outside a table, o other text.
std::string Line(char kind, int number) {
  const std::string horse = "  " + std::to_string(number) + " Horse";
  const std::string left = horse + std::string(41 - horse.size(), ' ');
  switch (kind) {
    case 'T':
      return left + "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(12, '\xC4') + "\xBF trailer";
    case 'P':
    case 'Q':
      return left + "\xB3" + " perf " + std::to_string(number) +
             std::string(21 - 6 - std::to_string(number).size(), ' ') + "\xB3 odds";
    case 'S':
      return std::string(41, ' ') + "\xC3" + std::string(21, '\xC4') + "\xB4";
    case 'B':
      return std::string(41, ' ') + "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(12, '\xC4') + "\xD9";
    default:
      return "text " + std::to_string(number);
  }
}

std::string Lines(const std::string& kinds) {
  std::string text;
  for (std::size_t i = 0; i < kinds.size(); ++i) text += Line(kinds[i], static_cast<int>(i)) + "\r\n";
  return text;
}

// The lines of `kinds` marked "1" in `kept`.
std::string Kept(const std::string& kinds, const std::string& kept) {
  std::string text;
  for (std::size_t i = 0; i < kinds.size(); ++i)
    if (kept[i] == '1') text += Line(kinds[i], static_cast<int>(i)) + "\r\n";
  return text;
}

TEST(TrimPerformances, KeepsTheFirstMPerformanceLinesAndTheBottomOfEachTable) {
  struct Case {
    int maxPerfLines;
    std::string kinds;
    std::string kept;
  } const cases[] = {
      {7, "oTPPPPPPPPPPBo", "11111111100011"},           // ten lines, seven kept
      {7, "TPPPPPB", "1111111"},                         // five lines, all kept
      {2, "oTPSPSPBo", "111110011"},                     // rows after the M-th line go
      {2, "TPPPBoTPPBo", "11101111111"},                 // each table on its own
      {0, "TPSPB", "11001"},                             // below 1 counts as 1
      {-3, "TPPB", "1101"},                              //
      {20, "TPPPPPPPPPPPPPPPPB", "111111111111111001"},  // above 14 counts as 14
      {1, "QQQ", "111"},                                 // bars outside a table are ordinary text
      {1, "TP", "11"},                                   // a table without a bottom
  };
  TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kinds + " M=" + std::to_string(c.maxPerfLines));
    const std::string twin = folder.Write("E0~Tam", Lines(c.kinds));
    TrimPerformances(twin, folder.Path() + "E01Tam", c.maxPerfLines);
    EXPECT_EQ(folder.Read("E01Tam"), Kept(c.kinds, c.kept));
    EXPECT_EQ(folder.Read("E0~Tam"), Lines(c.kinds)) << "the twin stays untouched";
  }
}

TEST(TrimPerformances, TrimmingAgainStartsFromTheTwinAndLongLinesAreCut) {
  TempFolder folder;
  const std::string kinds = "TPPPPB";
  const std::string longLine(200, 'w');
  const std::string twin = folder.Write("E0~Tam", Lines(kinds) + longLine + "\r\n");
  TrimPerformances(twin, folder.Path() + "E01Tam", 1);
  TrimPerformances(twin, folder.Path() + "E01Tam", 3);
  EXPECT_EQ(folder.Read("E01Tam"), Kept(kinds, "111101") + longLine.substr(0, 127) + "\r\n");
}

TEST(PageIndex, ListedEPagesAreTrimmedFromTheirOwnTwins) {
  TempFolder folder;
  const std::string kinds = "oTPPPPB";
  ReportTable reports;
  reports.files = {{"E01Tam", "E0~Tam"}, {"E01Tam~2", "E0~Tam~2"}, {"E01Aqu", "E0~Aqu"}};
  for (const ReportFile& file : reports.files) {
    folder.Write(file.name, "untrimmed " + file.name + "\r\n");
    folder.Write(file.twin, file.name + "\r\n" + Lines(kinds));
  }
  PageList list;
  BuildPageList(folder.Path(), reports, PageChoice{"E", "A", true, 2}, list);
  EXPECT_EQ(folder.Read("E01Tam"), "E01Tam\r\n" + Kept(kinds, "1111001"));
  EXPECT_EQ(folder.Read("E01Tam~2"), "E01Tam~2\r\n" + Kept(kinds, "1111001"));
  EXPECT_EQ(folder.Read("E01Aqu"), "untrimmed E01Aqu\r\n") << "a page that is not listed is not trimmed";

  // Without the limit nothing is rewritten.
  folder.Write("E01Tam", "edited\r\n");
  BuildPageList(folder.Path(), reports, PageChoice{"E", "A", false, 2}, list);
  EXPECT_EQ(folder.Read("E01Tam"), "edited\r\n");
}

TEST(PageIndex, AMissingTwinEndsTheBuildWithAnEmptyList) {
  TempFolder folder;
  PageList list;
  list.items.push_back(PageItem{"A01Tam", 0, true});
  list.selected = 0;
  EXPECT_THROW(BuildPageList(folder.Path(), Reports({"E01Tam"}), PageChoice{"E", "A", true, 7}, list), IoError);
  EXPECT_TRUE(list.items.empty());
  EXPECT_EQ(list.selected, -1);
  EXPECT_FALSE(folder.Exists("E01Tam")) << "no half-written page is left";
}

}  // namespace
