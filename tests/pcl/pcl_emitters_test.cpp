#include "pcl/pcl_emitters.h"

#include <cerrno>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

#include "base/file_layer.h"
#include "support/temp_folder.h"

namespace {

// The bytes one emitter call writes.
std::string Emitted(const std::function<void(PclEmitter&)>& command) {
  PclStringSink sink;
  PclEmitter emitter(sink);
  command(emitter);
  return sink.Bytes();
}

TEST(PclFormatting, NumbersRealsAndSigns) {
  EXPECT_EQ(PclNumber(0), "0");
  EXPECT_EQ(PclNumber(10), "10");
  EXPECT_EQ(PclNumber(-3), "-3");
  EXPECT_EQ(PclNumber(LLONG_MIN), "-9223372036854775808");

  struct RealCase {
    double value;
    const char* text;
  };
  const RealCase reals[] = {
      {8.5, "8.50"}, {10, "10.00"}, {12, "12.00"}, {16.67, "16.67"}, {0, "0.00"}, {1.999, "2.00"}, {-1.5, "-1.50"},
  };
  for (const RealCase& c : reals) EXPECT_EQ(PclReal(c.value), c.text) << c.value;

  EXPECT_EQ(PclSign(0), "+");
  EXPECT_EQ(PclSign(7), "+");
  EXPECT_EQ(PclSign(-1), "-");
}

// Every command, with the bytes worked out by hand from the PCL 5 layouts.
TEST(PclEmitter, CommandsWriteTheirExactBytes) {
  struct Case {
    const char* name;
    std::function<void(PclEmitter&)> command;
    std::string bytes;
  };
  const Case cases[] = {
      {"reset", [](PclEmitter& e) { e.PclReset(); }, "\x1B\x45"},
      {"portrait", [](PclEmitter& e) { e.PclOrientation(0); }, "\x1B\x26\x6C\x30\x4F"},
      {"landscape", [](PclEmitter& e) { e.PclOrientation(1); }, "\x1B&l1O"},
      {"duplex long edge", [](PclEmitter& e) { e.PclDuplex(1); }, "\x1B\x26\x6C\x31\x53"},
      {"simplex", [](PclEmitter& e) { e.PclDuplex(0); }, "\x1B&l0S"},
      {"legal paper", [](PclEmitter& e) { e.PclPaperSize(3); }, "\x1B\x26\x6C\x33\x41"},
      {"PC-8", [](PclEmitter& e) { e.PclSymbolSet(10); }, "\x1B\x28\x31\x30\x55"},
      {"eight-bit values", [](PclEmitter& e) { e.PclSymbolSet(255); }, "\x1B(255U"},
      {"font G and H", [](PclEmitter& e) { e.PclFont(0, 2, 0, 16.67, 8.5); }, "\x1B(s0p16.67h8.50v0s2b0T"},
      {"font I and J", [](PclEmitter& e) { e.PclFont(0, 2, 0, 12, 10); }, "\x1B(s0p12.00h10.00v0s2b0T"},
      {"proportional font has no pitch", [](PclEmitter& e) { e.PclFont(0, 2, 0, 0, 10); }, "\x1B(s1p10.00v0s2b0T"},
      {"negative weight", [](PclEmitter& e) { e.PclFont(4, -3, 1, 10, 12); }, "\x1B(s0p10.00h12.00v1s-3b4T"},
      {"line position", [](PclEmitter& e) { e.PclCursor(1080, 90, PclUnit::Decipoints, PclMove::Absolute); },
       "\x1B\x26\x61"
       "090v01080H"},
      {"relative decipoints", [](PclEmitter& e) { e.PclCursor(0, -30, PclUnit::Decipoints, PclMove::Relative); },
       "\x1B&a-30v+0H"},
      {"relative rows and columns", [](PclEmitter& e) { e.PclCursor(-4, 2, PclUnit::RowsColumns, PclMove::Relative); },
       "\x1B&a+2r-4C"},
      {"absolute rows and columns", [](PclEmitter& e) { e.PclCursor(5, 3, PclUnit::RowsColumns, PclMove::Absolute); },
       "\x1B&a03r05C"},
      {"absolute move loses the sign",
       [](PclEmitter& e) { e.PclCursor(-7, -20, PclUnit::Decipoints, PclMove::Absolute); }, "\x1B&a020v07H"},
      {"page eject", [](PclEmitter& e) { e.PclPageEject(); }, "\x0C"},
      {"text unchanged", [](PclEmitter& e) { e.PclWrite(std::string("\xC4\xB3\0\x02 x", 6)); },
       std::string("\xC4\xB3\0\x02 x", 6)},
  };
  for (const Case& c : cases) EXPECT_EQ(Emitted(c.command), c.bytes) << c.name;
}

class PclJobFileTest : public ::testing::Test {
 protected:
  PclJobFileTest() { FaultInjection::Disarm(); }
  ~PclJobFileTest() override { FaultInjection::Disarm(); }
  TempFolder folder;
};

TEST_F(PclJobFileTest, WritesEveryByteAcrossManyBlocks) {
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += static_cast<char>(i % 256);
  PclJobFile job;
  job.OpenPclFile(folder.Path() + "Vantrose.PCL");
  PclEmitter emitter(job);
  emitter.PclReset();
  for (std::size_t at = 0; at < bytes.size(); at += 1000) emitter.PclWrite(bytes.substr(at, 1000));
  job.ClosePclFile();
  EXPECT_FALSE(job.IsOpen());
  EXPECT_EQ(folder.Read("Vantrose.PCL"),
            "\x1B"
            "E" +
                bytes);
}

TEST_F(PclJobFileTest, OpeningAgainClosesTheFirstAndReplacesAnOldFile) {
  folder.Write("second.pcl", "an old job that is longer");
  PclJobFile job;
  job.ClosePclFile();  // not open: nothing happens
  job.OpenPclFile(folder.Path() + "first.pcl");
  PclEmitter emitter(job);
  emitter.PclWrite("one");
  job.OpenPclFile(folder.Path() + "second.pcl");
  emitter.PclWrite("two");
  job.ClosePclFile();
  job.ClosePclFile();
  EXPECT_EQ(folder.Read("first.pcl"), "one");
  EXPECT_EQ(folder.Read("second.pcl"), "two");
  EXPECT_THROW(emitter.PclWrite("three"), std::logic_error);
}

// Creating, each block written and the close all raise the user's error.
TEST_F(PclJobFileTest, AFailureAtAnyOperationRaisesTheFileError) {
  const std::string block(20000, 'x');
  long failures = 0;
  for (long k = 1; k < 20; ++k) {
    SCOPED_TRACE("failing operation " + std::to_string(k));
    FaultInjection::Arm(k, ENOSPC);
    bool failed = false;
    try {
      PclJobFile job;
      job.OpenPclFile(folder.Path() + "Vantrose.PCL");
      job.Append(block);
      job.Append("tail");
      job.ClosePclFile();
      EXPECT_FALSE(job.IsOpen());
    } catch (const IoError& error) {
      failed = true;
      EXPECT_EQ(error.what(), "Disk full: " + folder.Path() + "Vantrose.PCL");
    }
    FaultInjection::Disarm();
    if (!failed) {
      EXPECT_EQ(folder.Read("Vantrose.PCL"), block + "tail");
      break;
    }
    ++failures;
  }
  // Create, the first block, the rest, close.
  EXPECT_EQ(failures, 4);
}

}  // namespace
