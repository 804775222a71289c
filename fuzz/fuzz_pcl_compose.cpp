// Fuzzes PCL printing with the fuzzer's bytes as the print file: the PCL print file
// reader, then the job composed in memory and from the file in one of the four PCL
// layouts. Checks: pages and lines keep their limits; the job reads back with no
// unknown, broken or cut-off command; report text cannot command the printer (no
// escape, shift, carriage return or line feed reaches it as text); the job file holds
// the same bytes as the job composed in memory.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "fuzz_support.h"
#include "pcl/pcl_compose.h"
#include "pcl/pcl_reader.h"

namespace {

void CheckReader(std::string_view input) {
  PclPrintReader reader(input);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) {
    reader.ReadPclPage(lines);
    FUZZ_CHECK(lines.size() <= static_cast<std::size_t>(kPclMaxPageLines));
    for (const std::string& line : lines) {
      FUZZ_CHECK(line.size() <= static_cast<std::size_t>(kPclMaxLineLength));
      FUZZ_CHECK(line.find_first_of("\r\n\f") == std::string::npos);
    }
  }
}

void CheckJob(const std::string& job) {
  const ParsedPclJob parsed = ParsePclJob(job);
  FUZZ_CHECK(parsed.unknownCommands == 0 && parsed.malformedCommands == 0 && !parsed.truncated);
  for (const PclCommand& command : parsed.commands) {
    FUZZ_CHECK(command.kind != PclCommandKind::CarriageReturn && command.kind != PclCommandKind::LineFeed &&
               command.kind != PclCommandKind::ShiftOut && command.kind != PclCommandKind::ShiftIn);
  }
  for (const PclTextRun& run : parsed.runs) FUZZ_CHECK(run.bytes.find_first_of("\x1B\x0E\x0F") == std::string::npos);
  if (!job.empty()) {
    // Every page begins and ends with a printer reset.
    FUZZ_CHECK(parsed.commands.front().kind == PclCommandKind::Reset);
    FUZZ_CHECK(parsed.commands.back().kind == PclCommandKind::Reset);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = InputBytes(data, size);
  CheckReader(input);

  // The layout and the paper choices come from the input's length.
  const char modeLetter = "GHIJ"[size % 4];
  const bool legal = (size / 4) % 2 == 1;
  const bool duplex = (size / 8) % 2 == 1;
  const std::string job = ComposePclJob(input, modeLetter, legal, duplex);
  CheckJob(job);

  EmptyFuzzFolder();
  const std::string printPath = WriteFuzzFile("Vantrose.PRN", input);
  const std::string jobPath = FuzzFolder() + "Vantrose.PCL";
  BuildPclJob(printPath, jobPath, modeLetter, legal, duplex);
  FUZZ_CHECK(ReadFile(jobPath) == job);
  return 0;
}
