// Jobs through the real CUPS API to a private scheduler whose backend captures
// every job: the bytes must arrive exactly as written, with the options of their
// format, and an empty job is nothing to print.
#include "platform/spooler.h"

#include <cerrno>
#include <gtest/gtest.h>

#include "base/file_layer.h"
#include "support/cups_server.h"
#include "support/temp_folder.h"

namespace {

class SpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running()) << m_server.Problem();
    ASSERT_TRUE(m_server.AddRawQueue("raw"));
  }

  CupsServer m_server;
  TempFolder m_folder;
  std::unique_ptr<Spooler> m_spooler = MakeSystemSpooler();
};

std::string AllByteValues(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

TEST_F(SpoolerTest, JobArrivesByteForByte) {
  // Sizes around the 16384-byte block: one block and a byte, several blocks, a short job.
  for (const std::size_t size : {std::size_t{16385}, std::size_t{3 * 16384 + 17}, std::size_t{5}}) {
    const std::string job = AllByteValues(size);
    const std::string path = m_folder.Write("Vantrose.PCL", job);
    const SpoolOutcome outcome = m_spooler->SpoolRawJob("raw", path);
    ASSERT_TRUE(outcome.delivered) << outcome.reason;
    const auto captured = m_server.NextJob();
    ASSERT_TRUE(captured.has_value()) << "no job reached the printer for size " << size;
    EXPECT_EQ(*captured, job) << "size " << size;
  }
}

TEST_F(SpoolerTest, BothFormatsArriveAsOneDocumentWithTheirOptions) {
  const std::string pdf = "%PDF-1.4\n" + AllByteValues(20000) + "\n%%EOF\n";
  const std::string path = m_folder.Write("job.pdf", pdf);
  struct Case {
    JobDocument document;
    std::vector<std::string> options;  // what the job must carry
    std::vector<std::string> absent;   // and must not
  };
  const Case cases[] = {
      {{DocumentFormat::Pdf, "Legal", PageOrientation::Landscape}, {"media=Legal", "orientation-requested=4"}, {}},
      {{DocumentFormat::Pdf, "A4", PageOrientation::Portrait}, {"media=A4", "orientation-requested=3"}, {}},
      {{}, {}, {"media=", "orientation-requested="}},  // raw: the printer language sets everything
  };
  for (const Case& c : cases) {
    const SpoolOutcome outcome = m_spooler->SpoolJob("raw", path, c.document);
    ASSERT_TRUE(outcome.delivered) << outcome.reason;
    const auto job = m_server.NextCapturedJob();
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->bytes, pdf);
    EXPECT_EQ(job->title, "Vantrose");
    EXPECT_EQ(job->copies, "1");
    for (const std::string& option : c.options) EXPECT_NE(job->options.find(option), std::string::npos) << option;
    for (const std::string& option : c.absent) EXPECT_EQ(job->options.find(option), std::string::npos) << option;
  }
}

TEST_F(SpoolerTest, AnEmptyJobIsNothingToPrintAndNoFailure) {
  // CUPS refuses an empty document ("No file in print request."); none is sent.
  ASSERT_TRUE(m_server.AddRejectingQueue("closed"));
  const std::string path = m_folder.Write("Vantrose.PCL", "");
  for (const char* printer : {"raw", "closed", ""}) {
    for (const DocumentFormat format : {DocumentFormat::Raw, DocumentFormat::Pdf}) {
      const SpoolOutcome outcome = m_spooler->SpoolJob(printer, path, {format, "Letter", PageOrientation::Portrait});
      EXPECT_TRUE(outcome.delivered) << printer << ": " << outcome.reason;
    }
  }
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
}

TEST_F(SpoolerTest, RefusedJobIsReportedNotDelivered) {
  ASSERT_TRUE(m_server.AddRejectingQueue("closed"));
  const std::string path = m_folder.Write("Vantrose.PCL",
                                          "\x1b"
                                          "E text \x0c");
  const SpoolOutcome outcome = m_spooler->SpoolRawJob("closed", path);
  EXPECT_FALSE(outcome.delivered);
  EXPECT_FALSE(outcome.reason.empty());
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
}

TEST_F(SpoolerTest, UnknownOrMissingPrinterIsReportedNotDelivered) {
  const std::string path = m_folder.Write("Vantrose.PCL", "x");
  for (const char* printer : {"no-such-printer", ""}) {
    const SpoolOutcome outcome = m_spooler->SpoolRawJob(printer, path);
    EXPECT_FALSE(outcome.delivered) << printer;
    EXPECT_FALSE(outcome.reason.empty()) << printer;
  }
}

TEST_F(SpoolerTest, MissingJobFileRaisesTheFileErrorAndSendsNothing) {
  try {
    m_spooler->SpoolRawJob("raw", m_folder.Path() + "missing.PCL");
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_EQ(error.what(), "File not found: " + m_folder.Path() + "missing.PCL");
  }
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
}

}  // namespace
