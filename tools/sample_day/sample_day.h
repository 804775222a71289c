// Makes a race day of the project's own: the day's text with reports of the four
// kinds (and two reports that are never listed) for the tracks of a schedule, and the
// scrambled data file it is delivered in. The same inputs always give the same bytes,
// on every compiler and platform. It writes no file; tools/make_race_day does. It is
// no part of the program: the tests, the benches and the demo folder use it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kSmallSampleReports = 50;
inline constexpr int kLargeSampleReports = 1000;
inline constexpr std::uint16_t kSampleRaceDay = 15567;  // Tue 12-Jul-2016
// A race day needs about two years of past starts before it.
inline constexpr std::uint16_t kEarliestSampleRaceDay = 4000;
// A report for a track that no track group holds, and a report of a letter that is never listed.
inline constexpr std::string_view kUngroupedSampleReport = "A99Hst01";
inline constexpr std::string_view kOtherLetterSampleReport = "Z01Aqu";

struct SampleDayOptions {
  int reportCount = kSmallSampleReports;  // every report counts, the two unlisted ones too
  std::uint16_t raceDay = kSampleRaceDay;
};

// The most reports a day made from `schedule` can hold.
int MaxSampleReports(std::string_view schedule);

// The day's text for the races of `schedule` (lines in the layout of SimoDump.LST; its tracks
// come first, further tracks of the track groups follow when the report count needs them).
// Lines end with CR LF; each report starts with a line of a form feed, "@" and its name;
// every title and footer line carries "ID: " and a user-id marker (byte 1 and three filler
// bytes). Per track: A pages, one X page, E pages, B pages, spread evenly over the tracks.
// Throws std::invalid_argument when the report count is outside 2..MaxSampleReports(schedule)
// or the race day is before kEarliestSampleRaceDay.
std::string MakeSampleDayText(std::string_view schedule, const SampleDayOptions& options);

// `text` followed by byte 26 up to the end of its last 4096-byte record; a text that fills
// its records exactly gets one more record, so the text always ends with a byte 26 and the
// filler is never read as lines.
std::string PadTextRecords(std::string_view text);

// The data file that delivers `text` for `raceDay`: header, then PadTextRecords(text) scrambled.
// Throws std::length_error when the text needs more records than the header can count (65535).
std::string MakeRaceDayData(std::string_view text, std::uint16_t raceDay);
