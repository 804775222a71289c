#include "import/report_split.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

// A marker line as the reports carry it: form feed, "@", the name, then a heading.
std::string Marker(const std::string& name) { return "\f@" + name + "   heading"; }

// A report of `bodyLines` lines after its marker, each naming the report.
std::string Report(const std::string& name, int bodyLines = 2) {
  std::string text = Marker(name) + "\r\n";
  for (int i = 1; i <= bodyLines; ++i) text += name + " line " + std::to_string(i) + "\r\n";
  return text;
}

// The folder's entries and their bytes (folders as "<folder>").
std::map<std::string, std::string> Snapshot(const TempFolder& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    const std::string name = entry.path().filename().string();
    entries[name] = entry.is_directory() ? "<folder>" : folder.Read(name);
  }
  return entries;
}

class ReportSplitTest : public ::testing::Test {
 protected:
  ReportSplitTest() {
    FaultInjection::Disarm();
    folder.Write("SimoDump.LST", "  12:00 -  1 Tam\r\n");
  }
  ~ReportSplitTest() override { FaultInjection::Disarm(); }

  void Split(const std::string& text) {
    folder.Write("Vantrose.TXT", text);
    SplitReports(folder.Path(), simoTable, table);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const ReportFile& file : table.files) names.push_back(file.name);
    return names;
  }

  TempFolder folder;
  SimoTable simoTable;
  ReportTable table;
};

// ---- Markers and names ----

TEST(ReportMarker, NameIsTheRunAfterTheFirstAtInALineWithFormFeedOrByte2) {
  struct Case {
    std::string line;
    std::string name;
  } const cases[] = {
      {"\f@A01Tam", "A01Tam"},
      {"\f@B03Aqu  more text", "B03Aqu"},
      {"text \x02 then @E01Kee\tand more", "E01Kee"},
      {"@X01Aqu without a form feed", ""},
      {"\f no at sign", ""},
      {"\f@ blank after the at sign", ""},
      {"\f@", ""},
      {"\f@A01Tam@B01Tam", "A01Tam@B01Tam"},
      {"\f@A\x81"
       "bc",
       "A\x81"
       "bc"},  // bytes above 127 are part of the run
  };
  for (const auto& c : cases) EXPECT_EQ(MarkerName(c.line), c.name) << c.line;
}

TEST(ReportMarker, EveryNamedMarkerStartsAReportItsNameCutTo15) {
  struct Case {
    std::string line;
    std::optional<std::string> name;
  } const cases[] = {
      {Marker("A01Tam"), "A01Tam"},
      {Marker("A01/../Tam"), "A01/../Tam"},  // SafeFileName makes a file name of it
      {Marker("A01TamVeryLongReportName"), "A01TamVeryLongR"},
      {"\f@ nameless", std::nullopt},
      {"no marker @A01Tam", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(StartedReportName(c.line), c.name) << c.line;
}

TEST(ReportNames, PlainNamesAreFileNamesThatNoSystemOrProgramFileUses) {
  const char* const refused[] = {
      "A01/Tam",      "A01\\Tam",     "A01:Tam",      "A01*Tam", "A01?Tam", "A01\"Tam", "A01<Tam", "A01>Tam",
      "A01|Tam",      "A01\x7FTam",   "A01\x81Tam",   ".",       "..",      "A01Tam.",  "CON",     "con",
      "Prn.txt",      "AUX",          "NUL.abc.def",  "COM1",    "com9.x",  "LPT1",     "LPT9",    "CONIN$",
      "Vantrose.TXT", "VANTROSE.txt", "SimoDump.LST", "Data",    "exec",    "Help",     "ARCHIVE", "Vantrose.PRN",
      "Vantrose.PCL", "Vantrose.TMP", "A01Tam.~new",  "",
  };
  for (const char* name : refused) EXPECT_FALSE(IsPlainReportName(name)) << name;
  const char* const accepted[] = {"A01Tam", "COM0", "COM10", "LPT", "CONSOLE", "Datafile", "A.b", "A0~Tam", "a01tam"};
  for (const char* name : accepted) EXPECT_TRUE(IsPlainReportName(name)) << name;
}

// A name that cannot be a file keeps a page of its own under a name made from it.
TEST(ReportNames, NamesThatCannotBeFilesGetASafeNameMadeFromThem) {
  struct Case {
    const char* name;
    const char* safe;
  } const cases[] = {
      {"A01Tam", "A01Tam"},
      {"A01/Tam", "A01_Tam"},
      {"../evil", ".._evil"},
      {"A01\\Tam", "A01_Tam"},
      {"C:boot", "C_boot"},
      {"A01M\x82t", "A01M_t"},  // a code page 437 letter
      {"A01\x7F", "A01_"},
      {".", "_"},
      {"..", "__"},
      {"A01Tam.", "A01Tam_"},
      {"CON", "CON_"},
      {"nul.txt", "nul_txt"},
      {"NUL.abc.def", "NUL_abc_def"},
      {"COM\xFD", "COM_"},
      {"CONIN$", "CONIN$_"},
      {"Vantrose.TXT", "Vantrose_TXT"},
      {"Data", "Data_"},
      {"A01Tam.~new", "A01Tam_~new"},
      {"ABCDEFGHIJKLMN.", "ABCDEFGHIJKLMN_"},
      {"Exec", "Exec_"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SafeFileName(c.name), c.safe) << c.name;
    EXPECT_TRUE(IsPlainReportName(SafeFileName(c.name))) << c.name;
  }
}

TEST(ReportMarker, TwinReplacesTheThirdCharacter) {
  EXPECT_EQ(TwinName("A01Tam"), "A0~Tam");
  EXPECT_EQ(TwinName("A0~Tam"), "A0~Tam");
  EXPECT_EQ(TwinName("A0"), "A0~");
  EXPECT_EQ(TwinName("A"), "A~");
}

TEST(ReportNamer, EveryReportGetsNamesOfItsOwnKeepingTheUsualOnesWhereFree) {
  struct Case {
    std::vector<std::string> listed;
    std::vector<ReportFile> files;
  } const cases[] = {
      {{"A01Tam", "B01Tam"}, {{"A01Tam", "A0~Tam"}, {"B01Tam", "B0~Tam"}}},
      {{"A01Tam", "A01Tam", "A01Tam"}, {{"A01Tam", "A0~Tam"}, {"A01Tam~2", "A0~Tam~2"}, {"A01Tam~3", "A0~Tam~3"}}},
      {{"A01Tam", "a01TAM"}, {{"A01Tam", "A0~Tam"}, {"a01TAM~2", "a0~TAM~2"}}},
      // Its own twin would be itself; then another report wants that twin.
      {{"A0~Tam", "A01Tam"}, {{"A0~Tam", "A0~Tam~2"}, {"A01Tam", "A0~Tam~3"}}},
      // A page named like an earlier report's twin.
      {{"A01Tam", "A0~Tam"}, {{"A01Tam", "A0~Tam"}, {"A0~Tam~2", "A0~Tam~3"}}},
      // Names that differ only in their third character.
      {{"A01Tam", "A02Tam"}, {{"A01Tam", "A0~Tam"}, {"A02Tam", "A0~Tam~2"}}},
      {{"A0", "A0x"}, {{"A0", "A0~"}, {"A0x", "A0~~2"}}},
      {{"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
       {{"ABCDEFGHIJKLMNO", "AB~DEFGHIJKLMNO"}, {"ABCDEFGHIJKLM~2", "AB~DEFGHIJKLM~2"}}},
      // Names that cannot be files, and a report named like the safe name of another.
      {{"A01/Tam", "A01_Tam", "CON"}, {{"A01_Tam", "A0~_Tam"}, {"A01_Tam~2", "A0~_Tam~2"}, {"CON_", "CO~_"}}},
      // A number passed over because another report took it is not tried again.
      {{"A01Tam~2", "A01Tam", "A01Tam", "A01Tam"},
       {{"A01Tam~2", "A0~Tam~2"}, {"A01Tam", "A0~Tam"}, {"A01Tam~3", "A0~Tam~3"}, {"A01Tam~4", "A0~Tam~4"}}},
  };
  for (const auto& c : cases) {
    ReportNamer namer;
    for (std::size_t i = 0; i < c.listed.size(); ++i) {
      const ReportFile file = namer.Assign(c.listed[i]);
      EXPECT_EQ(file.name, c.files[i].name) << c.listed[i];
      EXPECT_EQ(file.twin, c.files[i].twin) << c.listed[i];
    }
  }
}

// A day of one name repeated (a corrupt data file) numbers on from the last number
// given; that the namer remembers it, instead of trying every number from 2 again
// (quadratic), is timed by scripts/bench.
TEST(ReportNamer, ARepeatedNameNumbersOnFromTheLastNumberGiven) {
  constexpr int kRepeats = 50000;
  ReportNamer namer;
  ReportFile last;
  for (int i = 0; i < kRepeats; ++i) last = namer.Assign("A01Tam");
  EXPECT_EQ(last.name, "A01Tam~" + std::to_string(kRepeats));
  EXPECT_EQ(last.twin, "A0~Tam~" + std::to_string(kRepeats));
}

// ---- Splitting ----

TEST_F(ReportSplitTest, EachReportGoesToItsPageAndTwinFromItsMarkerLine) {
  const std::string a = Report("A01Tam");
  const std::string withInnerMarkers = Marker("B03Aqu") + "\r\n\f no name here\r\n@X01Aqu without form feed\r\n";
  Split("preamble line\r\n" + a + withInnerMarkers);

  EXPECT_EQ(Names(), (std::vector<std::string>{"A01Tam", "B03Aqu"}));
  EXPECT_TRUE(table.splitComplete);
  EXPECT_EQ(folder.Read("A01Tam"), a);
  EXPECT_EQ(folder.Read("A0~Tam"), a);
  EXPECT_EQ(folder.Read("B03Aqu"), withInnerMarkers);
  EXPECT_EQ(folder.Read("B0~Aqu"), withInnerMarkers);
}

TEST_F(ReportSplitTest, ScheduleLinesAreCutTo63CharactersAndAllKept) {
  std::string schedule;
  for (int i = 0; i < 600; ++i) schedule += std::string(70, static_cast<char>('a' + i % 26)) + "\r\n";
  folder.Write("SimoDump.LST", schedule);
  Split(Report("A01Tam"));
  ASSERT_EQ(simoTable.size(), 600u);
  const std::vector<std::string> lines(simoTable.begin(), simoTable.end());
  ASSERT_EQ(lines.size(), 600u);
  EXPECT_EQ(lines[0], std::string(63, 'a'));
  EXPECT_EQ(lines[599], std::string(63, static_cast<char>('a' + 599 % 26)));
}

TEST_F(ReportSplitTest, AMissingScheduleStopsBeforeTheTextIsSplit) {
  std::filesystem::remove(folder.Path() + "SimoDump.LST");
  folder.Write("Vantrose.TXT", Report("A01Tam"));
  EXPECT_THROW(SplitReports(folder.Path(), simoTable, table), IoError);
  EXPECT_FALSE(folder.Exists("A01Tam"));
  EXPECT_FALSE(table.splitComplete);
}

// Every named report gets pages of its own, also when its name cannot be a file or
// names a file of the program: nothing outside the pages changes, no report is
// merged into another, and the rejoined text is the original byte for byte.
TEST_F(ReportSplitTest, UnsafeNamesGetPagesOfTheirOwnAndTouchNothingElse) {
  folder.MakeFolder("Data");
  folder.MakeFolder("Exec");
  folder.Write("Exec/Vantrose.OPT", "settings");
  folder.Write("Vantrose.TMP", "work file");
  const char* const unsafe[] = {
      "../outside",
      "Exec/Vantrose.OPT",
      "Exec\\Vantrose.OPT",
      "C:boot",
      "*",
      "a?b",
      "\"q\"",
      "<x>",
      "a|b",
      "a\x7F",
      "a\xC4",
      ".",
      "..",
      "trail.",
      "CON",
      "nul.txt",
      "Com3",
      "lpt9.doc",
      "Vantrose.txt",
      "SIMODUMP.LST",
      "Data",
      "Exec",
      "Help",
      "Archive",
      "Vantrose.PRN",
      "Vantrose.PCL",
      "Vantrose.TMP",
      "Help.~new",
      "Data.~NEW",
      "AAAAAAAAAAAAAA.tail",
  };
  // The first report of the day is one of them too.
  std::string text;
  std::vector<std::string> reports;
  for (const char* name : unsafe) reports.push_back(Marker(name) + "\r\nline of " + name + "\r\n");
  reports.push_back(Report("A01Tam"));
  for (const std::string& report : reports) text += report;
  folder.Write("Vantrose.TXT", text);
  const auto before = Snapshot(folder);

  SplitReports(folder.Path(), simoTable, table);
  ASSERT_EQ(table.files.size(), reports.size());
  auto expected = before;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const ReportFile& file = table.files[i];
    SCOPED_TRACE(file.name);
    EXPECT_TRUE(IsPlainReportName(file.name) && IsPlainReportName(file.twin));
    expected[file.name] = reports[i];
    expected[file.twin] = reports[i];
  }
  EXPECT_EQ(Names().front(), ".._outside");
  EXPECT_EQ(Snapshot(folder), expected) << "only the pages are new; every page holds its own report";

  EXPECT_TRUE(RejoinReports(folder.Path(), table).Empty());
  EXPECT_EQ(Snapshot(folder), before) << "the text comes back byte for byte, nothing else changed";
}

TEST_F(ReportSplitTest, RepeatedNamesKeepTheirOwnFiles) {
  const std::string first = Report("A01Tam", 1);
  const std::string second = Marker("A01Tam") + "\r\nsecond\r\n";
  const std::string third = Marker("a01tam") + "\r\nthird\r\n";
  const std::string longOne = Report("E01TamLongNameXone", 1);
  const std::string longTwo = Report("E01TamLongNameXtwo", 1);  // the same name once cut
  Split(first + second + third + longOne + longTwo);

  ASSERT_EQ(Names(),
            (std::vector<std::string>{"A01Tam", "A01Tam~2", "a01tam~3", "E01TamLongNameX", "E01TamLongNam~2"}));
  EXPECT_EQ(folder.Read("A01Tam"), first);
  EXPECT_EQ(folder.Read("A01Tam~2"), second);
  EXPECT_EQ(folder.Read("A0~Tam~2"), second);
  EXPECT_EQ(folder.Read("a01tam~3"), third);
  EXPECT_EQ(folder.Read("E01TamLongNameX"), longOne);
  EXPECT_EQ(folder.Read("E01TamLongNam~2"), longTwo);

  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), first + second + third + longOne + longTwo);
  EXPECT_EQ(Snapshot(folder).size(), 2u) << "only the text and the schedule remain";
}

TEST_F(ReportSplitTest, ATwinNameTakenByAnotherReportIsNeverShared) {
  const std::string own = Report("A0~Tam");    // its usual twin would be the page itself
  const std::string other = Report("A01Tam");  // its usual twin is the report above
  const std::string shortName = Report("A0");
  Split(own + other + shortName);
  ASSERT_EQ(table.files.size(), 3u);
  for (const ReportFile& file : table.files) {
    SCOPED_TRACE(file.name);
    EXPECT_NE(file.name, file.twin);
    EXPECT_EQ(folder.Read(file.name), folder.Read(file.twin));
  }
  EXPECT_EQ(folder.Read("A0~Tam"), own);
  EXPECT_EQ(folder.Read("A01Tam"), other);
  EXPECT_EQ(folder.Read("A0~"), shortName);

  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), own + other + shortName);
}

TEST_F(ReportSplitTest, MoreThan1024ReportsAreAllSplitAndRejoined) {
  std::string text;
  for (int i = 0; i < 1100; ++i) text += Report("B" + std::to_string(1000 + i) + "x", 1);
  Split(text);
  ASSERT_EQ(table.files.size(), 1100u);
  EXPECT_EQ(table.files.back().name, "B2099x");
  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), text);
  EXPECT_EQ(Snapshot(folder).size(), 2u);
}

TEST_F(ReportSplitTest, AFailedSplitLeavesNoFilesAndNothingToRejoin) {
  const std::string text = Report("A01Tam") + Report("B01Tam") + Report("E01Tam");
  folder.Write("Vantrose.TXT", text);
  const auto before = Snapshot(folder);
  for (long k = 1;; ++k) {
    SCOPED_TRACE(k);
    FaultInjection::Arm(k, ENOSPC);
    try {
      SplitReports(folder.Path(), simoTable, table);
    } catch (const IoError&) {
      FaultInjection::Disarm();
      EXPECT_EQ(Snapshot(folder), before);
      EXPECT_FALSE(table.splitComplete);
      RejoinReports(folder.Path(), table);
      EXPECT_EQ(folder.Read("Vantrose.TXT"), text);
      continue;
    }
    FaultInjection::Disarm();
    EXPECT_TRUE(table.splitComplete);
    EXPECT_EQ(table.files.size(), 3u);
    break;
  }
}

// ---- Rejoining ----

TEST_F(ReportSplitTest, RejoinRestoresEPagesFromTwinsAndKeepsEditsOfOtherPages) {
  const std::string a = Report("A01Tam");
  const std::string e = Report("E01Tam", 5);
  const std::string b = Report("B01Tam");
  Split("lost preamble\r\n" + a + e + b);
  folder.Write("E01Tam", Marker("E01Tam") + "\r\ntrimmed\r\n");
  const std::string editedA = Marker("A01Tam") + "\r\nscratched\r\n";
  folder.Write("A01Tam", editedA);

  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), editedA + e + b);
  EXPECT_EQ(Snapshot(folder).size(), 2u);
  EXPECT_TRUE(table.files.empty());
  EXPECT_FALSE(table.splitComplete);

  // A second rejoin (another close) changes nothing.
  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), editedA + e + b);
}

TEST_F(ReportSplitTest, RejoinWithoutACompleteSplitOrWithoutReportsLeavesTheTextAlone) {
  const std::string plain = "a text\r\nwithout any report\r\n\f@ nameless\r\n";
  Split(plain);
  EXPECT_TRUE(table.splitComplete);
  EXPECT_TRUE(table.files.empty());
  RejoinReports(folder.Path(), table);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), plain);

  ReportTable neverSplit;
  neverSplit.files.push_back({"A01Tam", "A0~Tam"});
  RejoinReports(folder.Path(), neverSplit);
  EXPECT_EQ(folder.Read("Vantrose.TXT"), plain);
}

// A page that disappeared before the rejoin (deleted by the user, another program or
// a sync) is taken from the text, which still holds the whole day; the user is told
// which. A page that is there wins: that is where scratches live.
TEST_F(ReportSplitTest, RejoinTakesMissingPagesFromTheTextAndNamesThem) {
  const std::string a = Report("A01Tam");
  const std::string e = Report("E01Tam", 4);
  const std::string b = Report("B01Tam");
  const std::string x = Report("X01Tam");
  const std::string scratchedA = Marker("A01Tam") + "\r\nscratched\r\n";
  struct Case {
    const char* name;
    std::vector<std::string> deleted;
    std::string text;
    std::vector<std::string> missing;
  } const cases[] = {
      {"nothing missing", {}, scratchedA + e + b + x, {}},
      {"a twin that is not the source", {"A0~Tam"}, scratchedA + e + b + x, {}},
      {"an A page", {"A01Tam"}, a + e + b + x, {"A01Tam"}},
      {"the untrimmed twin of an E page", {"E0~Tam"}, scratchedA + e + b + x, {"E01Tam"}},
      {"the last page", {"X01Tam", "X0~Tam"}, scratchedA + e + b + x, {"X01Tam"}},
      {"every file",
       {"A01Tam", "A0~Tam", "E01Tam", "E0~Tam", "B01Tam", "B0~Tam", "X01Tam", "X0~Tam"},
       a + e + b + x,
       {"A01Tam", "E01Tam", "B01Tam", "X01Tam"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Split("lines before the first report\r\n" + a + e + b + x);
    folder.Write("A01Tam", scratchedA);
    folder.Write("E01Tam", Marker("E01Tam") + "\r\ntrimmed\r\n");
    for (const std::string& name : c.deleted) std::filesystem::remove(folder.Path() + name);

    const RejoinNotice notice = RejoinReports(folder.Path(), table);
    EXPECT_EQ(notice.missingPages, c.missing);
    EXPECT_FALSE(notice.textKept);
    EXPECT_EQ(folder.Read("Vantrose.TXT"), c.text);
    EXPECT_EQ(Snapshot(folder).size(), 2u) << "every page and twin is gone";
  }
}

// When the text no longer holds a missing page's report (it changed since the split),
// no text with every report can be made: nothing is replaced or deleted, and the user is told.
TEST_F(ReportSplitTest, RejoinLeavesEverythingWhenNeitherPageNorTextHoldsAReport) {
  Split(Report("A01Tam") + Report("B01Tam"));
  const std::string changed = Report("A01Tam") + Report("X01Tam");
  folder.Write("Vantrose.TXT", changed);
  std::filesystem::remove(folder.Path() + "B01Tam");
  const auto before = Snapshot(folder);

  const RejoinNotice notice = RejoinReports(folder.Path(), table);
  EXPECT_EQ(notice.missingPages, std::vector<std::string>{"B01Tam"});
  EXPECT_TRUE(notice.textKept);
  EXPECT_EQ(Snapshot(folder), before);
  EXPECT_FALSE(table.splitComplete) << "a later rejoin must not try again with a partial set";
}

TEST(RejoinNoticeText, NamesTheMissingPagesAndWhatBecameOfThem) {
  std::vector<std::string> many;
  for (int i = 1; i <= 12; ++i) many.push_back("B" + std::to_string(10 + i) + "Tam");
  struct Case {
    RejoinNotice notice;
    std::string text;
  } const cases[] = {
      {{}, ""},
      {{{"A01Tam"}, false},
       "The page A01Tam was missing when the day's pages were joined back into Vantrose.TXT. Its report was taken "
       "from Vantrose.TXT as it was when the pages were made."},
      {{{"A01Tam", "E01Aqu"}, false},
       "The pages A01Tam, E01Aqu were missing when the day's pages were joined back into Vantrose.TXT. Their "
       "reports were taken from Vantrose.TXT as it was when the pages were made."},
      {{many, true},
       "The pages B11Tam, B12Tam, B13Tam, B14Tam, B15Tam, B16Tam, B17Tam, B18Tam, B19Tam, B20Tam and 2 more were "
       "missing when the day's pages were joined back into Vantrose.TXT. Vantrose.TXT no longer holds those reports "
       "either, so it was left as it was, and the other pages were left in the working folder."},
  };
  for (const Case& c : cases) EXPECT_EQ(RejoinNoticeText(c.notice), c.text);
}

// Also when a page is missing and its report is read from the old text.
TEST_F(ReportSplitTest, AFailedRejoinNeverLosesAReport) {
  const std::string a = Report("A01Tam");
  const std::string e = Report("E01Tam", 4);
  const std::string b = Report("B01Tam");
  const std::string oldText = "preamble\r\n" + a + e + b;
  const std::string newText = a + e + b;
  for (const bool pageMissing : {false, true}) {
    bool succeeded = false;
    for (long k = 1; !succeeded; ++k) {
      SCOPED_TRACE(std::to_string(k) + (pageMissing ? ", a page missing" : ""));
      TempFolder run;
      run.Write("SimoDump.LST", "");
      run.Write("Vantrose.TXT", oldText);
      ReportTable reports;
      SplitReports(run.Path(), simoTable, reports);
      run.Write("E01Tam", "trimmed\r\n");
      if (pageMissing) std::filesystem::remove(run.Path() + "A01Tam");
      const auto split = Snapshot(run);

      FaultInjection::Arm(k, EIO);
      try {
        RejoinReports(run.Path(), reports);
        succeeded = true;
      } catch (const IoError&) {
      }
      FaultInjection::Disarm();

      if (run.Read("Vantrose.TXT") == oldText) {
        ASSERT_FALSE(succeeded);
        EXPECT_EQ(Snapshot(run), split) << "no report file deleted before the new text is in place";
        EXPECT_TRUE(reports.splitComplete);
        RejoinReports(run.Path(), reports);  // trying again works
      } else {
        EXPECT_EQ(run.Read("Vantrose.TXT"), newText);
        EXPECT_FALSE(reports.splitComplete) << "a later rejoin must not rebuild from the rest";
        RejoinReports(run.Path(), reports);
      }
      EXPECT_EQ(run.Read("Vantrose.TXT"), newText);
      ASSERT_LT(k, 200);
    }
  }
}

TEST_F(ReportSplitTest, ADeepWorkingFolderOpensEveryPage) {
  std::string deep;
  while (deep.size() < 200) deep += "a-rather-long-folder-name/";
  const std::string base = folder.MakeFolder(deep);
  const std::string text = Report("A01Tam") + Report("E01Tam");
  folder.Write(deep + "SimoDump.LST", "");
  folder.Write(deep + "Vantrose.TXT", text);
  SplitReports(base, simoTable, table);
  ASSERT_GT((base + "A01Tam").size(), 127u);
  EXPECT_TRUE(FileExists(base + "A01Tam"));
  RejoinReports(base, table);
  EXPECT_EQ(ReadFile(base + "Vantrose.TXT"), text);
}

}  // namespace
