#include "browser/page_list.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

// A list of `texts` ("" for a filler), every item checked as given.
PageList ListOf(const std::vector<std::string>& texts, const std::vector<bool>& checked = {}) {
  PageList list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    PageItem item;
    item.text = texts[i];
    if (!texts[i].empty()) item.report = i;
    item.checked = i < checked.size() && checked[i];
    list.items.push_back(item);
  }
  return list;
}

std::vector<bool> Checks(const PageList& list) {
  std::vector<bool> checks;
  for (const PageItem& item : list.items) checks.push_back(item.checked);
  return checks;
}

TEST(PageList, CheckAllChecksPagesOnlyAndClearAllClearsEverything) {
  PageList list = ListOf({"A01Tam", "", "X01Tam", ""}, {false, true, false, false});  // a filler checked by hand
  list.selected = 2;
  CheckAll(list);
  EXPECT_EQ(Checks(list), (std::vector<bool>{true, false, true, false}));
  ClearAll(list);
  EXPECT_EQ(Checks(list), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(list.selected, 2) << "the selection stays";

  SetDefaultChecks(list);
  EXPECT_EQ(Checks(list), (std::vector<bool>{true, false, false, false}));
}

TEST(PageList, BackspaceJumpsBackToWhereItWasPressedBefore) {
  // Each step selects an item by hand (or -1: leaves the selection) and presses
  // Backspace; `jumpedTo` is the item the jump selects (-1: no jump).
  struct Step {
    int select;
    int jumpedTo;
  };
  struct Case {
    const char* title;
    std::vector<Step> steps;
  } const cases[] = {
      {"the first press only remembers", {{5, -1}}},
      {"swapping between two pages", {{5, -1}, {9, 5}, {-1, 9}, {-1, 5}}},
      {"pressing twice without moving selects the same item", {{5, -1}, {-1, 5}}},
      {"a press with nothing selected remembers no position", {{-2, -1}, {5, -1}, {7, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    PageList list = ListOf(std::vector<std::string>(20, "A01Tam"));
    JumpPositions positions;
    for (const Step& step : c.steps) {
      if (step.select >= 0) list.selected = step.select;
      if (step.select == -2) list.selected = -1;
      const std::optional<int> jumped = BackspaceJump(list, positions);
      EXPECT_EQ(jumped.value_or(-1), step.jumpedTo);
      if (jumped) {
        EXPECT_EQ(list.selected, *jumped);
      }
    }
  }
}

TEST(PageList, BackspaceToAPositionTheRefilledListNoLongerHasStaysPut) {
  PageList list = ListOf(std::vector<std::string>(30, "A01Tam"));
  JumpPositions positions;
  list.selected = 25;
  BackspaceJump(list, positions);
  list = ListOf({"A01Tam", "A02Tam"});  // filled again; the positions are kept
  list.selected = 1;
  EXPECT_EQ(BackspaceJump(list, positions), std::nullopt);
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(BackspaceJump(list, positions), 1) << "the press before was on item 1";
}

TEST(PageList, ItemsOpenTheirPageFileAndFillersNothing) {
  const PageList list = ListOf({"A01Tam", ""});
  EXPECT_EQ(ItemPath(list, 0, "/base/"), std::optional<std::string>(JoinPath("/base/", "A01Tam")));
  EXPECT_EQ(ItemPath(list, 1, "/base/"), std::nullopt);
  EXPECT_EQ(ItemPath(list, -1, "/base/"), std::nullopt);
  EXPECT_EQ(ItemPath(list, 2, "/base/"), std::nullopt);
}

TEST(LoadViewText, ShowsAnExistingFileAsUtf8AndRemembersItsFullPath) {
  TempFolder folder;
  std::string deep;
  while (deep.size() < 150) deep += "deep-folder-name/";
  const std::string page = folder.Write(deep + "E01Tam", "\f@E01Tam\r\n\xDA\xC4\xC2 \xB3\r\nend\x1Aignored");
  ASSERT_GT(page.size(), 127u);
  std::string viewFileName = "previous";
  EXPECT_EQ(LoadViewText(page, viewFileName),
            std::optional<std::string>("\u2640@E01Tam\n\u250C\u2500\u252C \u2502\nend"));
  EXPECT_EQ(viewFileName, page) << "the path is not cut";

  EXPECT_EQ(LoadViewText(folder.Path() + "missing", viewFileName), std::nullopt);
  EXPECT_EQ(LoadViewText(folder.Path(), viewFileName), std::nullopt) << "a folder is no page";
  EXPECT_EQ(viewFileName, page);
}

}  // namespace
