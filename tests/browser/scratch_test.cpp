#include "browser/scratch.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/error_text.h"
#include "support/temp_folder.h"

namespace {

// An 80-character table line: `left` padded to 69 characters, then characters 70 to 80.
std::string TableLine(std::string_view left, std::string_view tail) {
  std::string line(left);
  line.resize(69, ' ');
  line += tail;
  return line;
}

// The start of an odds table; the tees stand above the two decimal points.
std::string StartLine() {
  return TableLine("Horse                      Odds", "\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xBF");
}

// An entry with the two four-character odds fields at characters 70 and 75.
std::string Entry(std::string_view name, std::string_view first, std::string_view second) {
  return TableLine(name, std::string(first) + "\xB3" + std::string(second) + " \xB3");
}

std::string EndLine() { return TableLine("", "\xC4\xC4\xC1\xC4\xC4\xC4\xC4\xC1\xC4\xC4\xD9"); }

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Every file below `folder` with its bytes.
std::map<std::string, std::string> FolderContent(const TempFolder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
    if (entry.is_regular_file()) {
      const std::string relative = std::filesystem::relative(entry.path(), folder.Path()).string();
      files[relative] = folder.Read(relative);
    }
  return files;
}

struct Row {
  std::string first;
  std::string second;
  bool marked = false;
};

struct OddsCase {
  std::string title;
  std::vector<Row> rows;
  bool ended = true;                                          // the table has an ending line
  std::vector<std::pair<std::string, std::string>> expected;  // fields of the unmarked rows
};

std::string RowName(std::size_t index, bool marked) {
  return " " + std::to_string(index + 1) + " Horse " + std::to_string(index + 1) + (marked ? " !" : "");
}

// A page holding one table of `rows`, with a marked line before the table (which stays).
std::vector<std::string> PageOf(const std::vector<Row>& rows, bool ended) {
  std::vector<std::string> page = {"\f@A01Tam  Race 1", "Scratches! none", StartLine()};
  for (std::size_t i = 0; i < rows.size(); ++i)
    page.push_back(Entry(RowName(i, rows[i].marked), rows[i].first, rows[i].second));
  if (ended) page.insert(page.end(), {EndLine(), "after the table"});
  return page;
}

TEST(ScratchLines, ReNormalisesBothOddsColumns) {
  std::vector<OddsCase> cases = {
      {"three entries",
       {{" 1.0", " 3.0"}, {" 1.0", " 3.0"}, {" 2.0", " 1.0"}},
       true,
       {{" 1.7", " 3.0"}, {" 1.7", " 3.0"}, {" 3.0", " 1.0"}}},
      {"a half shows as two blanks and .5",
       {{" 1.0", "  .5"}, {" 3.0", " 2.0"}},
       true,
       {{"  .5", "  .5"}, {" 2.0", " 2.0"}}},
      {"a table adding up to one stays",
       {{" 3.0", " 2.0"}, {" 3.0", " 2.0"}, {" 1.0", " 2.0"}},
       true,
       {{" 3.0", " 2.0"}, {" 3.0", " 2.0"}, {" 1.0", " 2.0"}}},
      {"a marked entry is dropped",
       {{" 3.0", " 1.0"}, {" 3.0", " 1.0"}, {" 1.0", " 5.0", true}},
       true,
       {{" 1.0", " 1.0"}, {" 1.0", " 1.0"}}},
      {"a table at the end of the page",
       {{" 3.0", " 1.0"}, {" 3.0", " 1.0"}},
       false,
       {{" 1.0", " 1.0"}, {" 1.0", " 1.0"}}},
      {"a wide result keeps four characters",
       {{"99.0", " 1.0"}, {" 0.0", " 1.0"}},
       true,
       {{"100.", " 1.0"}, {"  .0", " 1.0"}}},
      {"only marked lines", {{" 1.0", " 1.0", true}}, true, {}},
  };
  OddsCase many{"forty entries, all re-normalised", {}, true, {}};
  for (int i = 0; i < 40; ++i) {
    many.rows.push_back({" 1.0", "39.0"});
    many.expected.push_back({"39.0", "39.0"});
  }
  cases.push_back(many);

  for (const OddsCase& c : cases) {
    SCOPED_TRACE(c.title);
    std::vector<std::string> expected = {"\f@A01Tam  Race 1", "Scratches! none", StartLine()};
    std::size_t next = 0;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      if (c.rows[i].marked) continue;
      ASSERT_LT(next, c.expected.size());
      expected.push_back(Entry(RowName(i, false), c.expected[next].first, c.expected[next].second));
      ++next;
    }
    ASSERT_EQ(next, c.expected.size());
    if (c.ended) expected.insert(expected.end(), {EndLine(), "after the table"});
    EXPECT_EQ(ScratchLines(PageOf(c.rows, c.ended)), expected);
  }
}

// An odds value of -1.0 has no chance 1 / (x + 1); the sums would be infinite.
TEST(ScratchLines, TableWithoutValidChanceIsKeptWithItsMarkedLines) {
  const std::pair<std::string, std::string> badFields[] = {
      {"-1.0", " 2.0"}, {" 2.0", "-1.0"}, {"-2.0", " 2.0"}, {"ab.c", " 2.0"}, {" 2.0", "  . "},
  };
  for (const auto& [first, second] : badFields) {
    SCOPED_TRACE(first + "/" + second);
    const std::vector<std::string> page =
        PageOf({{" 1.0", " 1.0"}, {first, second}, {" 4.0", " 4.0", true}, {" 1.0", " 1.0"}}, true);
    EXPECT_EQ(ScratchLines(page), page);
  }
}

TEST(ScratchLines, WhereTablesBeginAndEnd) {
  const std::string unbalanced = Entry(" 9 Late", " 1.0", " 1.0");
  struct Case {
    std::string title;
    std::vector<std::string> page;
    std::vector<std::string> expected;
  } const cases[] = {
      {"an 81-character line ends the table",
       {StartLine(), Entry("a", " 3.0", " 3.0"), Entry("b", " 3.0", " 3.0"), unbalanced + "x", unbalanced},
       {StartLine(), Entry("a", " 1.0", " 1.0"), Entry("b", " 1.0", " 1.0"), unbalanced + "x", unbalanced}},
      {"a 79-character line ends the table",
       {StartLine(), Entry("a", " 3.0", " 3.0"), Entry("b", " 3.0", " 3.0"), unbalanced.substr(0, 79), unbalanced},
       {StartLine(), Entry("a", " 1.0", " 1.0"), Entry("b", " 1.0", " 1.0"), unbalanced.substr(0, 79), unbalanced}},
      {"a marked line of any length inside a table is dropped",
       {StartLine(), Entry("a", " 3.0", " 3.0"), "scratched!", Entry("b", " 3.0", " 3.0"), EndLine()},
       {StartLine(), Entry("a", " 1.0", " 1.0"), Entry("b", " 1.0", " 1.0"), EndLine()}},
      {"a start line ending a table starts none",
       {StartLine(), Entry("a", " 1.0", " 1.0"), StartLine(), unbalanced, unbalanced},
       {StartLine(), Entry("a", "  .0", "  .0"), StartLine(), unbalanced, unbalanced}},
      {"a page without a table is copied, long lines cut",
       {"Scratched!", unbalanced, std::string(200, 'L'), "", std::string(127, 'M')},
       {"Scratched!", unbalanced, std::string(127, 'L'), "", std::string(127, 'M')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(ScratchLines(c.page), c.expected);
  }
}

class ScratchPageTest : public ::testing::Test {
 protected:
  ScratchPageTest() { FaultInjection::Disarm(); }
  ~ScratchPageTest() override { FaultInjection::Disarm(); }

  // A page with a table to re-normalise and a line longer than 127 characters, and its twin.
  void WritePage() {
    m_page = {"\f@A01Tam  Race 1",
              std::string(130, '='),
              StartLine(),
              Entry("1 Ann", " 3.0", " 1.0"),
              Entry("2 Bea", " 3.0", " 1.0"),
              Entry("3 Cid!", " 1.0", " 1.0"),
              EndLine()};
    folder.Write("A01Tam", JoinLines(m_page) +
                               "\x1A"
                               "after the text end");
    folder.Write("A0~Tam", JoinLines(m_page));
  }

  std::string ScratchedPage() const { return JoinLines(ScratchLines(m_page)); }

  TempFolder folder;
  std::vector<std::string> m_page;
};

TEST_F(ScratchPageTest, RewritesOnlyThePageAndLeavesNoWorkFile) {
  WritePage();
  ScratchPage(folder.Path(), "A01Tam");
  EXPECT_EQ(FolderContent(folder),
            (std::map<std::string, std::string>{{"A01Tam", ScratchedPage()}, {"A0~Tam", JoinLines(m_page)}}));
  EXPECT_NE(ScratchedPage(), JoinLines(m_page));
}

TEST_F(ScratchPageTest, AMissingPageOrAFillerIsFileNotFound) {
  WritePage();
  const auto before = FolderContent(folder);
  struct Case {
    const char* name;
    std::string shown;
  };
  const Case cases[] = {
      {"", "File not found"},  // a filler: there is no file to name
      {"B01Tam", "File not found: " + folder.Path() + "B01Tam"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ScratchPage(folder.Path(), c.name);
      ADD_FAILURE() << "scratched a page that is not there";
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), c.shown);
    }
    EXPECT_THROW(ApplyScratchEdit(folder.Path(), c.name, {"x"}), IoError);
    EXPECT_EQ(FolderContent(folder), before);
  }
}

TEST_F(ScratchPageTest, AFailureAtAnyFileOperationLeavesThePageWhole) {
  WritePage();
  const auto before = FolderContent(folder);
  long failures = 0;
  for (long k = 1; k < 100; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, ENOSPC);
    bool failed = false;
    try {
      ScratchPage(folder.Path(), "A01Tam");
    } catch (const IoError& error) {
      failed = true;
      EXPECT_TRUE(NamesOneOf(error.what(), "Disk full", {folder.Path() + "A01Tam", folder.Path() + "Vantrose.TMP"}));
    }
    FaultInjection::Disarm();
    if (!failed) {
      EXPECT_EQ(folder.Read("A01Tam"), ScratchedPage());
      EXPECT_FALSE(folder.Exists("Vantrose.TMP"));
      break;
    }
    ++failures;
    EXPECT_EQ(FolderContent(folder), before);
  }
  EXPECT_GT(failures, 4);
}

TEST_F(ScratchPageTest, AFailedEditLeavesTheOldPage) {
  WritePage();
  const auto before = FolderContent(folder);
  const std::vector<std::string> edited = {"\f@A01Tam  Race 1", StartLine(), Entry("1 Ann", " 1.0", " 1.0"),
                                           Entry("2 Bea", " 2.0", " 1.0"), Entry("3 Cid!", " 1.0", " 1.0")};
  long failures = 0;
  for (long k = 1; k < 100; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, EIO);
    bool failed = false;
    try {
      ApplyScratchEdit(folder.Path(), "A01Tam", edited);
    } catch (const IoError&) {
      failed = true;
    }
    FaultInjection::Disarm();
    if (!failed) {
      EXPECT_EQ(folder.Read("A01Tam"), JoinLines({"\f@A01Tam  Race 1", StartLine(), Entry("1 Ann", "  .7", " 1.0"),
                                                  Entry("2 Bea", " 1.5", " 1.0")}));
      break;
    }
    ++failures;
    EXPECT_EQ(FolderContent(folder), before);
  }
  EXPECT_GT(failures, 6);
}

}  // namespace
