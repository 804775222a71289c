// Fuzzes the scratch rewrite with the fuzzer's bytes as a report page. Checks: every
// line of the result is a line of the page, cut to the rewrite's limit, with at most
// its two odds fields changed, in page order; rewriting the page file through the
// work file gives exactly the lines the rewrite gives in memory and leaves no work file.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "browser/scratch.h"
#include "fuzz_support.h"

namespace {

constexpr std::string_view kPageName = "E01Tam";

// Equal apart from the two odds fields (characters 70 to 73 and 75 to 78).
bool SameOutsideOdds(const std::string& result, const std::string& original) {
  if (result.size() != original.size()) return false;
  for (std::size_t i = 0; i < result.size(); ++i) {
    const bool inOdds = (i >= 69 && i < 73) || (i >= 74 && i < 78);
    if (!inOdds && result[i] != original[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmptyFuzzFolder();
  const std::string pagePath = WriteFuzzFile(kPageName, InputBytes(data, size));
  const std::vector<std::string> lines = LoadPageLines(pagePath);

  const std::vector<std::string> scratched = ScratchLines(lines);
  std::vector<std::string> cutLines = lines;
  for (std::string& line : cutLines)
    if (line.size() > kScratchLineLimit) line.resize(kScratchLineLimit);
  FUZZ_CHECK(scratched.size() <= lines.size());
  FUZZ_CHECK(IsSubsequence(scratched, cutLines, SameOutsideOdds));

  ScratchPage(FuzzFolder(), kPageName);
  FUZZ_CHECK(LoadPageLines(pagePath) == scratched);
  FUZZ_CHECK(!FileExists(FuzzFolder() + std::string(kScratchWorkFile)));
  return 0;
}
