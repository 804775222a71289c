// Fuzzes the data-file decoder with the fuzzer's bytes as "Data/Vantrose.DAT".
// The header's record count is brought down to 0..8 so a run stays fast; reading
// past the file's records is still reached. Checks: a file shorter than one record
// leaves the old text untouched; otherwise the text has the counted records the file
// holds, each once, a shortfall is reported as a truncation, the date text has its
// fixed shape, and encoding the text again decodes to itself.
#include <cstdint>
#include <string>

#include "base/file_layer.h"
#include "fuzz_support.h"
#include "import/race_data.h"

namespace {

constexpr unsigned kMostRecords = 8;
// Short, so the stand-in characters for the rest of the user id are reached too.
const std::string kUserId = "7Q";
constexpr std::string_view kOldText = "the text before the decode";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmptyFuzzFolder();
  std::string bytes(InputBytes(data, size));
  unsigned recordCount = 0;
  if (bytes.size() >= 2) {
    recordCount =
        (static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8) % (kMostRecords + 1);
    bytes[0] = static_cast<char>(recordCount);
    bytes[1] = 0;
  }
  const std::string dataPath = WriteFuzzFile("Data/Vantrose.DAT", bytes);
  const std::string textPath = WriteFuzzFile("Vantrose.TXT", kOldText);

  if (bytes.size() < kRaceRecordSize) {
    bool threw = false;
    try {
      DecodeRaceData(dataPath, textPath, kUserId);
    } catch (const IoError& error) {
      threw = std::string_view(error.what()).starts_with(kReadBeyondEndText);
    }
    FUZZ_CHECK(threw);
    FUZZ_CHECK(ReadFile(textPath) == kOldText);
    return 0;
  }

  const DecodedDay day = DecodeRaceData(dataPath, textPath, kUserId);
  const std::uint16_t raceDay = day.raceDay;
  const std::size_t recordsHeld = bytes.size() / kRaceRecordSize - 1;
  const std::size_t recordsDecoded = recordCount < recordsHeld ? recordCount : recordsHeld;
  FUZZ_CHECK(day.recordsClaimed == recordCount && day.recordsDecoded == recordsDecoded);
  FUZZ_CHECK(day.Truncated() == (recordsHeld < recordCount));
  FUZZ_CHECK(raceDay == (static_cast<unsigned char>(bytes[2]) | static_cast<unsigned char>(bytes[3]) << 8));
  const std::string dateText = RaceDateText(raceDay);
  FUZZ_CHECK(dateText.size() == 15 && dateText[3] == ' ' && dateText[6] == '-' && dateText[10] == '-');
  const CalendarDate date = DayToDate(raceDay);
  FUZZ_CHECK(date.year >= 1973 && date.year <= 2153 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
             date.day <= 31);

  const std::string text = ReadFile(textPath);
  FUZZ_CHECK(text.size() == recordsDecoded * kRaceRecordSize);
  // The user id holds no marker byte, so the decoded text holds none either and a
  // second trip through the scrambling gives the same text back.
  FUZZ_CHECK(text.find('\x01') == std::string::npos);
  const std::string reencodedPath = WriteFuzzFile("Data/Again.DAT", EncodeRaceData(text, raceDay));
  const std::string againPath = FuzzFolder() + "Again.TXT";
  FUZZ_CHECK(DecodeRaceData(reencodedPath, againPath, kUserId).raceDay == raceDay);
  FUZZ_CHECK(ReadFile(againPath) == text);
  return 0;
}
