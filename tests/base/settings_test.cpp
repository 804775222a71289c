#include "base/settings.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* kDefaultFileBytes = "0000\r\nAXE\r\n@ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n27\r\n";
constexpr const char* kDefaultTracks = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ";

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() { FaultInjection::Disarm(); }
  ~SettingsTest() override { FaultInjection::Disarm(); }

  // Reads a settings file holding `bytes` into `settings`.
  void ReadFrom(const std::string& bytes, Settings& settings) {
    ReadSettings(folder.Write("Exec/Vantrose.OPT", bytes), settings);
  }

  std::string Path() const { return folder.Path() + "Exec/Vantrose.OPT"; }

  TempFolder folder;
};

TEST(HexTextTest, BringsTheDigitsToTheWidth) {
  struct Case {
    std::uint32_t value;
    unsigned width;
    const char* text;
  } const cases[] = {
      {26, 1, "A"},
      {5, 3, "005"},
      {0, 0, "0"},
      {0, 1, "0"},
      {0, 4, "0000"},
      {255, 0, "FF"},
      {255, 2, "FF"},
      {0x1A2B, 2, "2B"},
      {0xABC, 1, "C"},
      {0xFFFFFFFF, 0, "FFFFFFFF"},
      {0x80000000, 9, "080000000"},
      {7, 1, "7"},
      {14, 1, "E"},
  };
  for (const Case& c : cases) EXPECT_EQ(HexText(c.value, c.width), c.text) << c.value << " width " << c.width;
  EXPECT_EQ(HexText(0xF, 255), std::string(254, '0') + "F");
}

TEST(HexValueTest, ReadsHexDigitsAndSkipsOtherCharacters) {
  struct Case {
    const char* text;
    std::uint32_t value;
  } const cases[] = {
      {"1a", 26},
      {"x-2", 2},
      {"", 0},
      {"z", 0},
      {"D", 13},
      {"aBcD", 0xABCD},
      {"0 0 1", 1},
      {"G1", 1},
      {"FFFFFFFF", 0xFFFFFFFF},
      {"123456789", 0x23456789},
      {"100000000", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HexValue(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(SettingsTest, WriteSettingsWritesTheDefaultsExactly) {
  folder.MakeFolder("Exec");
  Settings settings;
  WriteSettings(Path(), settings);
  EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), kDefaultFileBytes);
}

TEST_F(SettingsTest, NoFileLeavesTheValuesAlone) {
  folder.MakeFolder("Exec");
  Settings settings;
  ReadSettings(Path(), settings);
  EXPECT_EQ(settings.trackLetters, kDefaultTracks) << "no G on this path";
  EXPECT_EQ(settings.printSettings, 2);
  EXPECT_EQ(settings.maxPerfLines, 7);
  EXPECT_FALSE(folder.Exists("Exec/Vantrose.OPT"));
}

TEST_F(SettingsTest, ReadSettingsTakesTheLinesAndAppendsGroupG) {
  Settings settings;
  ReadFrom("1234\r\nB\r\nAB\r\nD9\r\n", settings);
  EXPECT_EQ(settings.optReserved, "1234");
  EXPECT_EQ(settings.reportLetters, "B");
  EXPECT_EQ(settings.trackLetters, "ABG");
  EXPECT_EQ(settings.optCodes, "D9");
  EXPECT_EQ(settings.printSettings, 13);  // print mode 5 on legal paper
  EXPECT_EQ(settings.maxPerfLines, 9);
}

TEST_F(SettingsTest, LineFourGivesPrintSettingsAndMaxPerfLines) {
  struct Case {
    const char* line4;
    std::uint16_t printSettings;
    std::uint16_t maxPerfLines;
  } const cases[] = {
      {"D9", 13, 9}, {"z", 0, 7}, {"5", 5, 7}, {"", 2, 7}, {"0e", 0, 14}, {"A7", 10, 7}, {"FF99", 15, 15}, {"-x", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("line 4 \"") + c.line4 + "\"");
    Settings settings;
    settings.printSettings = 99;
    settings.maxPerfLines = 99;
    ReadFrom(std::string("0000\r\nAXE\r\nA\r\n") + c.line4 + "\r\n", settings);
    EXPECT_EQ(settings.printSettings, c.printSettings);
    EXPECT_EQ(settings.maxPerfLines, c.maxPerfLines);
  }
}

TEST_F(SettingsTest, MissingLinesKeepTheirPreviousValues) {
  Settings settings;
  settings.printSettings = 5;
  settings.maxPerfLines = 12;
  settings.optCodes = "5C";
  ReadFrom("9999\r\nEB\r\n", settings);
  EXPECT_EQ(settings.optReserved, "9999");
  EXPECT_EQ(settings.reportLetters, "EB");
  EXPECT_EQ(settings.trackLetters, std::string(kDefaultTracks) + "G");
  EXPECT_EQ(settings.optCodes, "5C");
  EXPECT_EQ(settings.printSettings, 5);
  EXPECT_EQ(settings.maxPerfLines, 12);
}

TEST_F(SettingsTest, AnEmptyFileStillAppendsGroupG) {
  Settings settings;
  ReadFrom("", settings);
  EXPECT_EQ(settings.reportLetters, "AXE");
  EXPECT_EQ(settings.trackLetters, std::string(kDefaultTracks) + "G");
}

TEST_F(SettingsTest, LongLinesAreCutAndTheirRestSkipped) {
  const std::string long40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  const std::string first31 = long40.substr(0, 31);
  Settings settings;
  ReadFrom(long40 + "\r\n" + long40 + "\r\n" + long40 + "\r\n" + "3" + long40 + "\r\nfifth\r\n", settings);
  EXPECT_EQ(settings.optReserved, first31);
  EXPECT_EQ(settings.reportLetters, first31);
  EXPECT_EQ(settings.trackLetters, first31) << "the G does not fit";
  EXPECT_EQ(settings.optCodes, ("3" + long40).substr(0, 31));
  EXPECT_EQ(settings.printSettings, 3);
  EXPECT_EQ(settings.maxPerfLines, 10);
}

TEST_F(SettingsTest, ParseSettingsUsesAtMostFourLines) {
  Settings settings;
  ParseSettings({"r", "A", "C", "41", "ignored", "ignored"}, settings);
  EXPECT_EQ(settings.optReserved, "r");
  EXPECT_EQ(settings.trackLetters, "CG");
  EXPECT_EQ(settings.printSettings, 4);
  EXPECT_EQ(settings.maxPerfLines, 1);
}

// Every start reads and every close writes the file: line 3 grows by one "G" per
// start until it holds 31 characters.
TEST_F(SettingsTest, GroupGGrowthStopsAt31Characters) {
  folder.MakeFolder("Exec");
  Settings first;
  WriteSettings(Path(), first);
  for (std::size_t start = 1; start <= 6; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    Settings settings;
    ReadSettings(Path(), settings);
    const std::size_t gs = std::min<std::size_t>(start, 31 - 27);
    EXPECT_EQ(settings.trackLetters, kDefaultTracks + std::string(gs, 'G'));
    WriteSettings(Path(), settings);
  }
  EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), "0000\r\nAXE\r\n@ABCDEFGHIJKLMNOPQRSTUVWXYZGGGG\r\n27\r\n");
}

TEST_F(SettingsTest, OnlyTheLowestDigitOfEachValueIsStored) {
  folder.MakeFolder("Exec");
  Settings written;
  written.printSettings = 26;  // duplex, legal paper, print mode 2
  written.maxPerfLines = 14;
  WriteSettings(Path(), written);
  EXPECT_EQ(written.optCodes, "AE");
  EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), "0000\r\nAXE\r\n@ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nAE\r\n");

  Settings read;
  ReadSettings(Path(), read);
  EXPECT_EQ(read.printSettings, 10) << "the duplex bit is not kept";
  EXPECT_EQ(read.maxPerfLines, 14);
}

TEST_F(SettingsTest, WriteSettingsReplacesALongerFile) {
  folder.Write("Exec/Vantrose.OPT", std::string(500, 'x') + "\r\nmore\r\nmore\r\nmore\r\nmore\r\n");
  Settings settings;
  WriteSettings(Path(), settings);
  EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), kDefaultFileBytes);
}

TEST_F(SettingsTest, AFailedWriteLeavesThePreviousFileWhole) {
  const std::string previous = "1111\r\nB\r\nABG\r\n39\r\n";
  folder.Write("Exec/Vantrose.OPT", previous);
  Settings settings;
  settings.reportLetters = "AXEB";
  long failures = 0;
  for (long k = 1; k < 50; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, ENOSPC);
    bool failed = false;
    try {
      WriteSettings(Path(), settings);
    } catch (const IoError& error) {
      failed = true;
      EXPECT_EQ(error.what(), "Disk full: " + Path());  // the settings, never their temporary file
    }
    FaultInjection::Disarm();
    EXPECT_EQ(ListFolder(folder.Path() + "Exec/"), std::vector<std::string>{"Vantrose.OPT"});
    if (!failed) {
      EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), "0000\r\nAXEB\r\n@ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n27\r\n");
      break;
    }
    ++failures;
    EXPECT_EQ(folder.Read("Exec/Vantrose.OPT"), previous);
  }
  EXPECT_GE(failures, 4) << "create, write, close and rename can each fail";
}

}  // namespace
