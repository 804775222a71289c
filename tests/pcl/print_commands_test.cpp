// The print commands' work outside the windows: stamp, job numbers, the print
// file, and the dispatch to canvas or raw spooling with the work files removed.
#include "pcl/print_commands.h"

#include <cerrno>
#include <gtest/gtest.h>

#include "base/file_layer.h"
#include "pcl/pcl_compose.h"
#include "platform/spooler.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"

namespace {

const PrintStamp kStamp{'3', "14:05:09", "0042"};

TEST(StampLine, StampsOnlyWhenTheMarkerStandsPastColumnSixteen) {
  struct Case {
    std::string line;
    std::string expected;
  };
  const std::string fifteen(15, '.');
  const std::string sixteen(16, '.');
  const std::string fiftyNine(59, '.');
  const Case cases[] = {
      // Marker at column 16: unchanged.
      {fifteen + "ID: 0000 tail", fifteen + "ID: 0000 tail"},
      // Marker at column 17: cut after column 24, then the stamp.
      {sixteen + "ID: 0000 tail", sixteen + "ID: 0000" + "    3 14:05:09  0042"},
      // The worked example: marker at column 60 keeps columns 1 to 67.
      {fiftyNine + "ID: 1234XYZ", fiftyNine + "ID: 1234    3 14:05:09  0042"},
      // A line shorter than the kept part keeps what it has.
      {sixteen + "ID: 12", sixteen + "ID: 12    3 14:05:09  0042"},
      // Only the first marker counts.
      {"ID: early " + sixteen + "ID: late", "ID: early " + sixteen + "ID: late"},
      {"no marker at all", "no marker at all"},
  };
  for (const Case& c : cases) EXPECT_EQ(StampLine(c.line, kStamp), c.expected) << c.line;
}

TEST(PrintStamp, WeekdayDigitRunsFromMondayOneToSundaySeven) {
  std::tm now{};
  now.tm_hour = 14;
  now.tm_min = 5;
  now.tm_sec = 9;
  const std::pair<int, char> days[] = {{1, '1'}, {3, '3'}, {6, '6'}, {0, '7'}};
  for (const auto& [weekday, digit] : days) {
    now.tm_wday = weekday;
    const PrintStamp stamp = MakePrintStamp(now, "0042");
    EXPECT_EQ(stamp.weekdayDigit, digit);
    EXPECT_EQ(stamp.timeText, "14:05:09");
  }
}

TEST(JobNumber, NineThousandNineHundredNinetyNineIsFollowedByZero) {
  EXPECT_EQ(NextJobNumber(0), 1);
  EXPECT_EQ(NextJobNumber(41), 42);
  EXPECT_EQ(NextJobNumber(9999), 0);
}

TEST(JobNumber, SurvivesInItsFileAndJunkReadsAsZero) {
  TempFolder folder;
  const std::string path = folder.Path() + "Vantrose.JOB";
  EXPECT_EQ(ReadJobNumber(path), 0);
  WriteJobNumber(path, 42);
  EXPECT_EQ(folder.Read("Vantrose.JOB"), "0042\r\n");
  EXPECT_EQ(ReadJobNumber(path), 42);
  for (const char* junk : {"", "12345\r\n", "-1\r\n", "4x\r\n", "\xff\xfe"}) {
    folder.Write("Vantrose.JOB", junk);
    EXPECT_EQ(ReadJobNumber(path), 0) << junk;
  }
}

TEST(ModeLetter, IsJMinusTheModeModuloFour) {
  const char letters[] = {'J', 'I', 'H', 'G', 'J', 'I', 'H', 'G'};
  for (int mode = 0; mode < 8; ++mode) {
    EXPECT_EQ(ModeLetter(mode), letters[mode]) << mode;
    EXPECT_EQ(IsPclMode(mode), mode >= 4) << mode;
  }
}

TEST(WritePrintFile, CopiesPagesInOrderStampedAndSkipsMissingOnes) {
  TempFolder folder;
  const std::string marker = std::string(20, ' ') + "ID: 0000 rest";
  folder.Write("A01", "first\r\n" + marker + "\r\n\x0c@A02\r\n");
  folder.Write("B01", "second\nlast");
  const std::string printFile = folder.Path() + "Vantrose.PRN";
  WritePrintFile(printFile, {folder.Path() + "A01", folder.Path() + "missing", folder.Path() + "B01"}, &kStamp);
  EXPECT_EQ(folder.Read("Vantrose.PRN"),
            "first\r\n" + std::string(20, ' ') + "ID: 0000    3 14:05:09  0042\r\n\x0c@A02\r\nsecond\r\nlast\r\n");
  WritePrintFile(printFile, {folder.Path() + "A01"}, nullptr);
  EXPECT_EQ(folder.Read("Vantrose.PRN"), "first\r\n" + marker + "\r\n\x0c@A02\r\n");
}

class RecordingSpooler final : public Spooler {
 public:
  SpoolOutcome SpoolJob(const std::string& deviceName, const std::string& jobPath,
                        const JobDocument& document) override {
    EXPECT_EQ(document.format, DocumentFormat::Raw);
    devices.push_back(deviceName);
    jobs.push_back(ReadFile(jobPath));
    return outcome;
  }
  std::vector<std::string> devices;
  std::vector<std::string> jobs;
  SpoolOutcome outcome{true, {}};
};

class PrintWorkFileTest : public ::testing::Test {
 protected:
  void SetUp() override { m_folder.Write("Vantrose.PRN", kPage); }
  bool WorkFilesGone() const { return !m_folder.Exists("Vantrose.PRN") && !m_folder.Exists("Vantrose.PCL"); }

  static inline const std::string kPage = "line one\r\nline two\r\n\r\nblock two\r\n\x0c";
  TempFolder m_folder;
  RecordingCanvas m_canvas{4800, 6360};
  RecordingSpooler m_spooler;
  bool m_legal = false;
};

TEST_F(PrintWorkFileTest, PclModesSpoolTheComposedJobAndRemoveBothWorkFiles) {
  for (int mode = 4; mode < 8; ++mode) {
    for (const bool legal : {false, true}) {
      for (const bool duplex : {false, true}) {
        m_folder.Write("Vantrose.PRN", kPage);
        m_legal = legal;
        const PrintOutcome outcome = PrintWorkFile(m_folder.Path(), mode, m_legal, duplex, m_canvas, m_spooler, "raw");
        EXPECT_TRUE(outcome.delivered);
        ASSERT_FALSE(m_spooler.jobs.empty());
        EXPECT_EQ(m_spooler.jobs.back(), ComposePclJob(kPage, ModeLetter(mode), legal, duplex));
        EXPECT_EQ(m_spooler.devices.back(), "raw");
        EXPECT_TRUE(WorkFilesGone());
      }
    }
  }
  EXPECT_EQ(m_canvas.Calls().size(), 0u);
}

TEST_F(PrintWorkFileTest, CanvasModesDrawAndRemoveALeftOverPclJob) {
  m_folder.Write("Vantrose.PCL", "left over");
  const PrintOutcome outcome = PrintWorkFile(m_folder.Path(), 0, m_legal, false, m_canvas, m_spooler, "raw");
  EXPECT_TRUE(outcome.delivered);
  EXPECT_EQ(m_canvas.Texts().size(), 3u);
  EXPECT_TRUE(m_spooler.jobs.empty());
  EXPECT_TRUE(WorkFilesGone());
}

TEST_F(PrintWorkFileTest, APrinterFailureIsReportedNotThrown) {
  m_spooler.outcome = {false, "The printer is not accepting jobs."};
  PrintOutcome outcome = PrintWorkFile(m_folder.Path(), 6, m_legal, false, m_canvas, m_spooler, "closed");
  EXPECT_FALSE(outcome.delivered);
  EXPECT_EQ(outcome.reason, "The printer is not accepting jobs.");
  EXPECT_TRUE(WorkFilesGone());

  class RefusingCanvas final : public PrinterCanvas {
   public:
    void SetOrientation(PageOrientation) override {}
    int PageWidth() const override { return 4800; }
    int PageHeight() const override { return 6360; }
    void BeginDocument() override { throw PrintFailure("No printer is installed."); }
    void NewPage() override {}
    void EndDocument() override {}
    void AbortDocument() override {}
    void SetFont(const std::string&, int, bool) override {}
    void DrawTextAt(int, int, const std::string&) override {}
  } refusing;
  m_folder.Write("Vantrose.PRN", kPage);
  outcome = PrintWorkFile(m_folder.Path(), 2, m_legal, false, refusing, m_spooler, "");
  EXPECT_FALSE(outcome.delivered);
  EXPECT_EQ(outcome.reason, "No printer is installed.");
  EXPECT_TRUE(WorkFilesGone());
}

TEST_F(PrintWorkFileTest, AFileFailureRaisesItsErrorAndKeepsTheWorkFiles) {
  FaultInjection::Arm(1, ENOSPC);
  EXPECT_THROW(PrintWorkFile(m_folder.Path(), 4, m_legal, false, m_canvas, m_spooler, "raw"), IoError);
  FaultInjection::Disarm();
  EXPECT_TRUE(m_folder.Exists("Vantrose.PRN"));
  EXPECT_TRUE(m_spooler.jobs.empty());
}

}  // namespace
