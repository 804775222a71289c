// Raw jobs through the Windows spooler. Under Wine the spooler hands them to CUPS,
// so scripts/test-windows starts the tests' private scheduler with a raw queue and
// names it here: VANTROSE_TEST_PRINTER is the queue, VANTROSE_TEST_CAPTURE the
// (Windows) folder where each job arrives as job-N.prn. Windows only.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "base/file_layer.h"
#include "platform/spooler.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string AllByteValues(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

std::set<fs::path> CapturedJobs(const fs::path& folder) {
  std::set<fs::path> jobs;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().extension() == ".prn") jobs.insert(it->path());
  return jobs;
}

// The bytes of the first job in `folder` that is not in `before`, waiting up to 20 s.
std::optional<std::string> NextJob(const fs::path& folder, const std::set<fs::path>& before) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    for (const fs::path& job : CapturedJobs(folder))
      if (before.count(job) == 0) {
        std::ifstream file(job, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
      }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

TEST(WindowsSpooler, AJobArrivesAtThePrinterByteForByte) {
  const char* printer = std::getenv("VANTROSE_TEST_PRINTER");
  const char* capture = std::getenv("VANTROSE_TEST_CAPTURE");
  if (printer == nullptr || capture == nullptr)
    GTEST_SKIP() << "no test printer: VANTROSE_TEST_PRINTER and VANTROSE_TEST_CAPTURE are set by "
                    "scripts/test-windows, which starts a print server for Wine";
  TempFolder folder;
  const std::unique_ptr<Spooler> spooler = MakeSystemSpooler();
  // Around the 16384-byte block: one block and a byte, several blocks, a short job.
  for (const std::size_t size : {std::size_t{16385}, std::size_t{3 * 16384 + 17}, std::size_t{5}}) {
    SCOPED_TRACE(size);
    const std::string job = AllByteValues(size);
    const std::set<fs::path> before = CapturedJobs(capture);
    const SpoolOutcome outcome = spooler->SpoolRawJob(printer, folder.Write("Vantrose.PCL", job));
    ASSERT_TRUE(outcome.delivered) << outcome.reason;
    const std::optional<std::string> captured = NextJob(capture, before);
    ASSERT_TRUE(captured.has_value()) << "no job reached the printer";
    EXPECT_EQ(*captured, job);
  }
}

TEST(WindowsSpooler, AnUnknownPrinterIsReportedNotDelivered) {
  TempFolder folder;
  const std::string path = folder.Write("Vantrose.PCL", "x");
  for (const char* printer : {"no-such-printer", "Imprimante g\xC3\xA9n\xC3\xA9rique", ""}) {
    const SpoolOutcome outcome = MakeSystemSpooler()->SpoolRawJob(printer, path);
    EXPECT_FALSE(outcome.delivered) << printer;
    EXPECT_FALSE(outcome.reason.empty()) << printer;
  }
}

TEST(WindowsSpooler, AJobFileThatCannotBeReadThrows) {
  TempFolder folder;
  const std::string path = JoinPath(folder.Path(), "Vantrose.PCL");
  try {
    MakeSystemSpooler()->SpoolRawJob("no-such-printer", path);
    ADD_FAILURE() << "no failure";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), IoErrorTextFor("File not found", path));
  }
}

}  // namespace
