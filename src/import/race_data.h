// Turns the day's scrambled data file into the plain text of the day and
// names the race date carried in its header. The data file is a header record
// and text records of 4096 bytes; each byte is stored complemented with its two
// halves exchanged. No Qt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::size_t kRaceRecordSize = 4096;

struct CalendarDate {
  std::uint16_t year = 0;
  std::uint16_t month = 0;  // 1..12
  std::uint16_t day = 0;    // 1..31
};

// The calendar date of a day number (day 0 is Wednesday 28 November 1973).
CalendarDate DayToDate(std::uint16_t dayNumber);

// The date text of a day number, e.g. "Tue 12-Jul-2016".
std::string RaceDateText(std::uint16_t dayNumber);

// Decodes (and, being its own inverse, encodes) one stored byte.
constexpr std::uint8_t DecodeByte(std::uint8_t stored) {
  return static_cast<std::uint8_t>(255 - (((stored << 4) & 0xFF) | (stored >> 4)));
}

// The data file that decodes to `text` (padded with blanks to whole records) with
// the race date `raceDay`: the form in which race days are delivered.
std::string EncodeRaceData(std::string_view text, std::uint16_t raceDay);

// What decoding found in the data file's header and body.
struct DecodedDay {
  std::uint16_t raceDay = 0;         // the header's day number
  std::uint32_t recordsClaimed = 0;  // the header's record count
  std::uint32_t recordsDecoded = 0;  // text records the file holds, up to the count

  // The file holds fewer text records than its header says: it was cut short.
  bool Truncated() const { return recordsDecoded < recordsClaimed; }
};

// The message for the user about a truncated data file `dataPath`.
std::string TruncatedDayText(const DecodedDay& day, const std::string& dataPath);

// Decodes the data file at `dataPath` into `textPath`: the header's record count N of
// 4096-byte records, as many of them as the file holds whole. A file holding fewer is
// a truncated file: its records are decoded and no more (never one twice), and the
// result says so; a trailing piece shorter than a record is never read. A decoded
// byte 1 and the three bytes after it become characters 1 to 4 of `userIdText` ("0"
// stands in past its end); a substitution carries over into the next record. The
// text file is replaced only when the whole text was written. Throws IoError; a file
// shorter than one record throws "Read beyond end of file" before the text file is touched.
DecodedDay DecodeRaceData(const std::string& dataPath, const std::string& textPath, const std::string& userIdText);
