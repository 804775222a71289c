// Fuzzes the names taken from outside input: the fuzzer's bytes as a marker line of
// the day's text, as a report name, and as an archive name typed by the user. Checks:
// a marker's name is a run of visible bytes after its "@"; a started report's name is
// at most 15 characters and the start of the marker's name, and its safe file name is
// plain and no longer; a plain name and an accepted archive name stay inside their
// folder; the namer hands out plain names, for any name, that differ without regard
// to letter case.
#include <cstdint>
#include <set>
#include <string>

#include "base/cp437.h"
#include "base/file_layer.h"
#include "base/text.h"
#include "browser/archive.h"
#include "fuzz_support.h"
#include "import/report_split.h"

namespace {

// Never created: the paths are only built, so no file is touched.
const std::string kBase = std::string("/nonexistent-vantrose-base") + kPathSeparator;

void CheckMarker(std::string_view line) {
  const std::string name = MarkerName(line);
  if (!name.empty()) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\x0C\x02", 2)) != std::string_view::npos);
    FUZZ_CHECK(line.find("@" + name) != std::string_view::npos);
    for (const char c : name) FUZZ_CHECK(static_cast<unsigned char>(c) > 32);
  }
  const std::optional<std::string> started = StartedReportName(line);
  if (started) {
    FUZZ_CHECK(!started->empty() && started->size() <= kReportNameLimit);
    FUZZ_CHECK(name.starts_with(*started));
    const std::string safe = SafeFileName(*started);
    FUZZ_CHECK(IsPlainReportName(safe) && safe.size() <= kReportNameLimit);
    FUZZ_CHECK(FolderPart(JoinPath(kBase, safe)) == kBase);
  }
}

void CheckReportName(std::string_view name) {
  if (IsPlainReportName(name)) FUZZ_CHECK(FolderPart(JoinPath(kBase, name)) == kBase);
  const std::string listed(name.substr(0, kReportNameLimit));
  if (listed.empty()) return;
  // The same name twice, as a text with a repeated report gives it.
  ReportNamer namer;
  std::set<std::string> taken;
  for (int repeat = 0; repeat < 2; ++repeat) {
    const ReportFile file = namer.Assign(listed);
    for (const std::string& given : {file.name, file.twin}) {
      FUZZ_CHECK(!given.empty() && given.size() <= kReportNameLimit);
      FUZZ_CHECK(IsPlainReportName(given));
      FUZZ_CHECK(taken.insert(AsciiUpperText(given)).second);
    }
  }
}

void CheckArchiveName(std::string_view name) {
  if (!ValidArchiveName(name)) return;
  FUZZ_CHECK(!name.empty() && name.size() <= 12);
  FUZZ_CHECK(name.find_first_of("/\\:") == std::string_view::npos);
  const std::string path = ArchivePath(kBase, Cp437ToUtf8(name));
  FUZZ_CHECK(FolderPart(path) == JoinPath(kBase, kArchiveFolder) + kPathSeparator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = InputBytes(data, size);
  CheckMarker(input);
  CheckReportName(input);
  CheckArchiveName(input);
  return 0;
}
