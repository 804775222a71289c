#include "import/race_data.h"

#include <cerrno>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "support/error_text.h"
#include "support/temp_folder.h"

namespace {

constexpr std::size_t kRecord = 4096;

// ---- Building data files ----

// Scrambles bytes as the data file stores them (the decoding is its own inverse).
std::string Encode(std::string_view text) {
  std::string stored(text);
  for (char& c : stored) c = static_cast<char>(DecodeByte(static_cast<std::uint8_t>(c)));
  return stored;
}

// One text record: `text` padded with blanks to 4096 bytes, scrambled.
std::string TextRecord(std::string_view text) {
  std::string record(text);
  record.resize(kRecord, ' ');
  return Encode(record);
}

// The header record: record count and race day, little-endian, then unused bytes
// (scrambled text, so they decode without markers).
std::string HeaderRecord(std::uint16_t count, std::uint16_t raceDay) {
  std::string record = TextRecord("unused header bytes");
  record[0] = static_cast<char>(count & 0xFF);
  record[1] = static_cast<char>(count >> 8);
  record[2] = static_cast<char>(raceDay & 0xFF);
  record[3] = static_cast<char>(raceDay >> 8);
  return record;
}

std::string Blanks(std::size_t count) { return std::string(count, ' '); }

// ---- Calendar ----

struct DateCase {
  std::uint16_t day;
  CalendarDate date;
  const char* text;
};

TEST(DayToDateTest, KnownDays) {
  const DateCase cases[] = {
      {0, {1973, 11, 28}, "Wed 28-Nov-1973"},    {33, {1973, 12, 31}, "Mon 31-Dec-1973"},
      {34, {1974, 1, 1}, "Tue 01-Jan-1974"},     {9589, {2000, 2, 29}, "Tue 29-Feb-2000"},
      {15567, {2016, 7, 12}, "Tue 12-Jul-2016"}, {46114, {2100, 3, 1}, "Mon 01-Mar-2100"},
      {65535, {2153, 5, 3}, "Thu 03-May-2153"},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.day);
    const CalendarDate date = DayToDate(c.day);
    EXPECT_EQ(date.year, c.date.year);
    EXPECT_EQ(date.month, c.date.month);
    EXPECT_EQ(date.day, c.date.day);
    EXPECT_EQ(RaceDateText(c.day), c.text);
  }
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// From the anchor day 0, every following day number is the next Gregorian date and
// the next weekday; the date text is made of weekday, day, month name and year.
TEST(DayToDateTest, EveryDayNumberIsTheDayAfterThePreviousOne) {
  static constexpr const char* kWeekdays[] = {"Wed", "Thu", "Fri", "Sat", "Sun", "Mon", "Tue"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  int year = 1973, month = 11, day = 28;
  std::size_t failures = 0;
  for (std::uint32_t n = 0; n <= 65535 && failures < 5; ++n) {
    if (n > 0 && ++day > DaysInMonth(year, month)) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
    const CalendarDate date = DayToDate(static_cast<std::uint16_t>(n));
    char text[32];
    std::snprintf(text, sizeof text, "%s %02d-%s-%d", kWeekdays[n % 7], day, kMonths[month - 1], year);
    if (date.year != year || date.month != month || date.day != day ||
        RaceDateText(static_cast<std::uint16_t>(n)) != text) {
      ++failures;
      ADD_FAILURE() << "day " << n << ": expected " << text << ", got " << date.year << '-' << date.month << '-'
                    << date.day << " \"" << RaceDateText(static_cast<std::uint16_t>(n)) << '"';
    }
  }
  EXPECT_EQ(year, 2153);
}

// ---- Byte decoding ----

TEST(DecodeByteTest, StoredBytesAndTheirText) {
  EXPECT_EQ(DecodeByte(0xE9), 'a');
  EXPECT_EQ(DecodeByte(0xD9), 'b');
  EXPECT_EQ(DecodeByte(0xC9), 'c');
  EXPECT_EQ(DecodeByte(0xEF), 1);
  EXPECT_EQ(DecodeByte(0x00), 0xFF);
  EXPECT_EQ(DecodeByte(0xFF), 0x00);
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(DecodeByte(DecodeByte(static_cast<std::uint8_t>(b))), b) << "decoding is its own inverse";
}

// ---- Decoding the data file ----

class DecodeRaceDataTest : public ::testing::Test {
 protected:
  DecodeRaceDataTest() { FaultInjection::Disarm(); }
  ~DecodeRaceDataTest() override { FaultInjection::Disarm(); }

  // Writes the data file and decodes it with `userId`.
  DecodedDay Decode(const std::string& dataBytes, const std::string& userId = "0000") {
    folder.Write("Data/Vantrose.DAT", dataBytes);
    return DecodeRaceData(DataPath(), TextPath(), userId);
  }
  std::string DataPath() const { return folder.Path() + "Data/Vantrose.DAT"; }
  std::string TextPath() const { return folder.Path() + "Vantrose.TXT"; }
  std::string Text() const { return folder.Read("Vantrose.TXT"); }

  TempFolder folder;
};

TEST_F(DecodeRaceDataTest, CountZeroGivesAnEmptyTextAndTheRaceDay) {
  folder.Write("Vantrose.TXT", "yesterday's text");
  EXPECT_EQ(Decode(HeaderRecord(0, 9589) + TextRecord("not wanted")).raceDay, 9589);
  EXPECT_EQ(Text(), "");
}

TEST_F(DecodeRaceDataTest, RecordsAreDecodedInOrder) {
  const std::string data = HeaderRecord(2, 15567) + TextRecord("first record\r\n") + TextRecord("second\r\n");
  const DecodedDay day = Decode(data);
  EXPECT_EQ(day.raceDay, 15567);
  EXPECT_FALSE(day.Truncated());
  EXPECT_EQ(Text(), "first record\r\n" + Blanks(kRecord - 14) + "second\r\n" + Blanks(kRecord - 8));
}

// A header that claims more records than follow it belongs to a file cut short: the
// records there are decoded once each (never the header, never one again to make up
// the count), and the result tells. A trailing piece shorter than a record is not a record.
TEST_F(DecodeRaceDataTest, ATruncatedFileIsDecodedAsFarAsItGoesAndToldSo) {
  const std::string tail = Encode(std::string(100, 'T'));
  const std::string one = "only record" + Blanks(kRecord - 11);
  const std::string two = "second" + Blanks(kRecord - 6);
  struct Case {
    const char* name;
    std::string data;
    std::string text;
    std::uint32_t claimed;
    std::uint32_t decoded;
    bool truncated;
  } const cases[] = {
      {"a header alone", HeaderRecord(2, 100), "", 2, 0, true},
      {"one record and a short tail", HeaderRecord(3, 100) + TextRecord("only record") + tail, one, 3, 1, true},
      {"two of 65535", HeaderRecord(65535, 100) + TextRecord("only record") + TextRecord("second"), one + two, 65535, 2,
       true},
      {"every record there", HeaderRecord(2, 100) + TextRecord("only record") + TextRecord("second") + tail, one + two,
       2, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedDay day = Decode(c.data);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(day.raceDay, 100);
    EXPECT_EQ(day.recordsClaimed, c.claimed);
    EXPECT_EQ(day.recordsDecoded, c.decoded);
    EXPECT_EQ(day.Truncated(), c.truncated);
  }
  const DecodedDay cut{100, 65535, 2};
  EXPECT_EQ(TruncatedDayText(cut, "/u/Data/Vantrose.DAT"),
            "The data file /u/Data/Vantrose.DAT is shorter than its header says: it holds 2 of 65535 records. "
            "The day opens with what it holds; some reports may be missing or cut off.");
}

TEST_F(DecodeRaceDataTest, RecordsBeyondTheCountAreIgnored) {
  Decode(HeaderRecord(1, 0) + TextRecord("wanted") + TextRecord("unwanted"));
  EXPECT_EQ(Text(), "wanted" + Blanks(kRecord - 6));
}

TEST_F(DecodeRaceDataTest, MarkersBecomeTheUserId) {
  struct Case {
    const char* userId;
    const char* text;
  } const cases[] = {
      {"0000", "Race 0000 end"},
      {"7Q2X", "Race 7Q2X end"},
      {"ABCDEFG", "Race ABCD end"},
      {"AB", "Race AB00 end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.userId);
    Decode(HeaderRecord(1, 0) + TextRecord("Race \x01ZZZ end"), c.userId);
    EXPECT_EQ(Text(), c.text + Blanks(kRecord - 13));
  }
}

TEST_F(DecodeRaceDataTest, AMarkerDuringASubstitutionRestartsIt) {
  Decode(HeaderRecord(1, 0) + TextRecord("<\x01pq\x01rstu>"), "ABCD");
  EXPECT_EQ(Text(), "<ABCABCDu>" + Blanks(kRecord - 10));
}

TEST_F(DecodeRaceDataTest, ASubstitutionContinuesIntoTheNextRecord) {
  std::string first(kRecord - 2, '.');
  first += "\x01z";
  Decode(HeaderRecord(2, 0) + TextRecord(first) + TextRecord("yxwv"), "ABCD");
  const std::string text = Text();
  ASSERT_EQ(text.size(), 2 * kRecord);
  EXPECT_EQ(text.substr(kRecord - 4, 4), "..AB");
  EXPECT_EQ(text.substr(kRecord, 5), "CDwv ");
}

TEST_F(DecodeRaceDataTest, AFileShorterThanARecordLeavesTheTextAlone) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{4}, kRecord - 1}) {
    SCOPED_TRACE(size);
    folder.Write("Vantrose.TXT", "yesterday's text");
    try {
      Decode(HeaderRecord(1, 0).substr(0, size));
      ADD_FAILURE() << "decoded a file of " << size << " bytes";
    } catch (const IoError& error) {
      EXPECT_EQ(error.what(), "Read beyond end of file: " + DataPath());
    }
    EXPECT_EQ(Text(), "yesterday's text");
  }
  EXPECT_EQ(ListFolder(folder.Path()), (std::vector<std::string>{"Data", "Vantrose.TXT"}));
}

TEST_F(DecodeRaceDataTest, AFileShorterThanARecordCreatesNoText) {
  EXPECT_THROW(Decode("short"), IoError);
  EXPECT_FALSE(folder.Exists("Vantrose.TXT"));
}

// A failure at any file operation leaves the old text whole. The data file is closed
// after the new text is in place, so a failure there leaves the new text whole.
TEST_F(DecodeRaceDataTest, AFailureAtAnyOperationNeverLeavesAPartialText) {
  const std::string oldText = "yesterday's text\r\n";
  const std::string data = HeaderRecord(3, 0) + TextRecord("one \x01...") + TextRecord("two");
  const std::string newText = "one 7Q2X" + Blanks(kRecord - 8) + "two" + Blanks(kRecord - 3);  // cut short
  folder.Write("Data/Vantrose.DAT", data);

  FaultInjection::Disarm();
  DecodeRaceData(DataPath(), TextPath(), "7Q2X");
  ASSERT_EQ(Text(), newText);
  const long operations = FaultInjection::OperationCount();
  ASSERT_GT(operations, 5);

  for (long k = 1; k <= operations + 1; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k) + " of " + std::to_string(operations));
    folder.Write("Vantrose.TXT", oldText);
    FaultInjection::Arm(k, ENOSPC);
    bool failed = false;
    try {
      DecodeRaceData(DataPath(), TextPath(), "7Q2X");
    } catch (const IoError& error) {
      failed = true;
      EXPECT_TRUE(NamesOneOf(error.what(), "Disk full", {DataPath(), TextPath()}));
    }
    FaultInjection::Disarm();
    EXPECT_EQ(failed, k <= operations);
    EXPECT_EQ(Text(), k <= operations ? oldText : newText);
    EXPECT_EQ(ListFolder(folder.Path()), (std::vector<std::string>{"Data", "Vantrose.TXT"}));
  }
}

}  // namespace
