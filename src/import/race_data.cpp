#include "import/race_data.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/file_layer.h"

namespace {

constexpr std::uint8_t kMarkerByte = 1;
constexpr int kMarkerLength = 4;

// The user-id substitution: a marker byte and the three bytes after it become the
// four user-id characters. Its state carries over from one record to the next.
class MarkerSubstitution {
 public:
  explicit MarkerSubstitution(const std::string& userIdText) {
    for (int i = 0; i < kMarkerLength; ++i)
      m_userId[i] = i < static_cast<int>(userIdText.size()) ? static_cast<std::uint8_t>(userIdText[i]) : '0';
  }

  void DecodeRecord(const std::uint8_t* stored, std::uint8_t* text) {
    // Decode the whole record first (a loop the compiler vectorises), then visit the
    // few markers; the marker state is kept in a local so the stores cannot alias it.
    for (std::size_t i = 0; i < kRaceRecordSize; ++i) text[i] = DecodeByte(stored[i]);
    int position = m_position;
    std::size_t i = 0;
    while (i < kRaceRecordSize) {
      if (position < kMarkerLength) {
        if (text[i] == kMarkerByte) position = 0;  // a marker restarts a running substitution
        text[i++] = m_userId[position++];
        continue;
      }
      const void* marker = std::memchr(text + i, kMarkerByte, kRaceRecordSize - i);
      if (marker == nullptr) break;
      i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(marker) - text);
      position = 0;
    }
    m_position = position;
  }

 private:
  std::uint8_t m_userId[kMarkerLength] = {};
  int m_position = kMarkerLength;  // kMarkerLength: no substitution running
};

}  // namespace

CalendarDate DayToDate(std::uint16_t dayNumber) {
  const std::uint32_t t = 4 * (std::uint32_t{dayNumber} + 720896) - 1;
  const std::uint32_t q = t / 146097;
  const std::uint32_t r = (t % 146097) / 4;
  const std::uint32_t u = 4 * r + 3;
  std::uint32_t year = 100 * q + u / 1461;
  const std::uint32_t v = ((u % 1461) + 4) / 4;
  const std::uint32_t w = 5 * v - 3;
  std::uint32_t month = w / 153;
  const std::uint32_t day = ((w % 153) + 5) / 5;
  if (month >= 10) {
    month -= 9;
    year += 1;
  } else {
    month += 3;
  }
  return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day)};
}

std::string RaceDateText(std::uint16_t dayNumber) {
  static constexpr std::string_view kWeekdays = "Wed Thu Fri Sat Sun Mon Tue ";
  static constexpr std::string_view kMonths = "Jan-Feb-Mar-Apr-May-Jun-Jul-Aug-Sep-Oct-Nov-Dec-";
  const CalendarDate date = DayToDate(dayNumber);
  std::string text(kWeekdays.substr(4 * (dayNumber % 7), 4));
  const std::string dayDigits = std::to_string(date.day + 100);
  text += dayDigits.substr(dayDigits.size() - 2);
  text += '-';
  text += kMonths.substr(4 * (date.month - 1), 4);
  text += std::to_string(date.year);
  return text;
}

std::string TruncatedDayText(const DecodedDay& day, const std::string& dataPath) {
  return "The data file " + dataPath + " is shorter than its header says: it holds " +
         std::to_string(day.recordsDecoded) + " of " + std::to_string(day.recordsClaimed) +
         " records. The day opens with what it holds; some reports may be missing or cut off.";
}

DecodedDay DecodeRaceData(const std::string& dataPath, const std::string& textPath, const std::string& userIdText) {
  InputFile data(dataPath);
  // Records that are whole; a trailing piece shorter than a record is never read.
  const std::uint64_t recordsInFile = FileSize(dataPath) / kRaceRecordSize;

  std::vector<std::uint8_t> input(kRaceRecordSize);
  std::vector<std::uint8_t> output(kRaceRecordSize);
  data.ReadExact(input.data(), kRaceRecordSize);
  DecodedDay day;
  day.recordsClaimed = input[0] | (input[1] << 8);
  day.raceDay = static_cast<std::uint16_t>(input[2] | (input[3] << 8));
  // A header that claims more records than follow it belongs to a file cut short:
  // a record is never decoded twice to make up the count.
  const std::uint64_t textRecordsInFile = recordsInFile > 0 ? recordsInFile - 1 : 0;
  day.recordsDecoded = static_cast<std::uint32_t>(std::min<std::uint64_t>(day.recordsClaimed, textRecordsInFile));

  AtomicFile text(textPath);
  MarkerSubstitution substitution(userIdText);
  for (std::uint32_t record = 0; record < day.recordsDecoded; ++record) {
    data.ReadExact(input.data(), kRaceRecordSize);
    substitution.DecodeRecord(input.data(), output.data());
    text.Write(output.data(), kRaceRecordSize);
  }
  // Everything that can fail comes before the new text replaces the old one.
  data.Close();
  text.Commit();
  return day;
}

std::string EncodeRaceData(std::string_view text, std::uint16_t raceDay) {
  const std::size_t recordCount = (text.size() + kRaceRecordSize - 1) / kRaceRecordSize;
  std::string data(kRaceRecordSize * (recordCount + 1), '\0');
  data[0] = static_cast<char>(recordCount & 0xFF);
  data[1] = static_cast<char>((recordCount >> 8) & 0xFF);
  data[2] = static_cast<char>(raceDay & 0xFF);
  data[3] = static_cast<char>(raceDay >> 8);
  std::string body(text);
  body.resize(recordCount * kRaceRecordSize, ' ');
  for (std::size_t i = 0; i < body.size(); ++i)
    data[kRaceRecordSize + i] = static_cast<char>(DecodeByte(static_cast<std::uint8_t>(body[i])));
  return data;
}
