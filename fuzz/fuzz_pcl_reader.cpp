// Fuzzes the PCL job reader with the fuzzer's bytes as a job. It must take any bytes
// without throwing. Checks: every text command names a run of its own, in order; the
// sheets counted are the form feeds read; every run is on a sheet that was reached.
#include <cstdint>

#include "fuzz_support.h"
#include "pcl/pcl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ParsedPclJob parsed = ParsePclJob(InputBytes(data, size));
  std::size_t textCommands = 0;
  int formFeeds = 0;
  for (const PclCommand& command : parsed.commands) {
    if (command.kind == PclCommandKind::Text) {
      FUZZ_CHECK(command.textRun == textCommands);
      ++textCommands;
    }
    if (command.kind == PclCommandKind::PageEject) ++formFeeds;
  }
  FUZZ_CHECK(textCommands == parsed.runs.size());
  FUZZ_CHECK(formFeeds == parsed.sheetsEjected);
  FUZZ_CHECK(parsed.unknownCommands >= 0 && parsed.malformedCommands >= 0);
  for (const PclTextRun& run : parsed.runs) {
    FUZZ_CHECK(!run.bytes.empty());
    FUZZ_CHECK(run.sheet >= 0 && run.sheet <= parsed.sheetsEjected);
  }
  return 0;
}
