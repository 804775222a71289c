// vantrose-print: the day's checked pages printed without a window, to a printer
// of the private CUPS scheduler or into a file, with the pages rejoined after.
#include "shell/ui/print_only.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

#include "import/race_data.h"
#include "pcl/pcl_compose.h"
#include "platform/instance_guard.h"
#include "platform/system/printing_services.h"
#include "support/printing_test.h"

namespace {

const std::string kDayText =
    "intro line before the first report\r\n"
    "\x0c@A01Tam01  Tam race 1\r\nPepper Rocket      84\r\n\r\nSilver Legend      86\r\n"
    "\x0c@X01Tam  Tam summary\r\nsummary line\r\n"
    "\x0c@B01Tam01  Tam form\r\nrecent form line\r\n";

// A working folder as the installation leaves it before the program first ran there:
// the day's text and the settings, no schedule "SimoDump.LST".
class PrintOnlyTest : public PrintingTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrintingTest::SetUp());
    m_profile.Write(Base("Vantrose.TXT"), kDayText);
    // B pages listed too, so the day has three checked pages.
    m_profile.Write(Base("Exec/Vantrose.OPT"), "0000\r\nAXEB\r\n@ABC\r\n47\r\n");
    m_printing = SystemPrintingServices();
  }

  int Run(const std::vector<std::string>& arguments) {
    m_out.str({});
    m_err.str({});
    return RunPrintOnly(arguments, m_folders, m_printing, m_out, m_err);
  }

  // The pages left after the run: only the working folder's own files.
  std::vector<std::string> BaseListing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_profile.Path() + Base("")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The text PRINT writes for the checked pages A01Tam01 and B01Tam01 (B pages list first).
  static constexpr char kPrinted[] =
      "\x0c@B01Tam01  Tam form\r\nrecent form line\r\n"
      "\x0c@A01Tam01  Tam race 1\r\nPepper Rocket      84\r\n\r\nSilver Legend      86\r\n";

  PrintingServices m_printing;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

TEST_F(PrintOnlyTest, PrintsTheCheckedPagesOnTheDefaultPrinterAndRejoins) {
  ASSERT_EQ(Run({"--mode", "4"}), 0) << m_err.str();
  const auto job = m_server.NextJob();
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(*job, ComposePclJob(kPrinted, 'J', false, false));
  EXPECT_NE(m_out.str().find("Printed job 0001"), std::string::npos) << m_out.str();
  // Settings read, never written; pages joined back; no help files or schedule written
  // (the day printed without one).
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.OPT")), "0000\r\nAXEB\r\n@ABC\r\n47\r\n");
  EXPECT_EQ(BaseListing(), (std::vector<std::string>{"Archive", "Data", "Exec", "Help", "Vantrose.TXT"}));
  EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")), kDayText.substr(kDayText.find('\x0c')));
  EXPECT_TRUE(std::filesystem::is_empty(m_profile.Path() + Base("Help")));
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.JOB")), "0001\r\n");
}

TEST_F(PrintOnlyTest, WritesThePclJobOrAPdfIntoAFile) {
  const std::string pcl = m_profile.Path() + "day.pcl";
  ASSERT_EQ(Run({"--mode", "7", "--output", pcl}), 0) << m_err.str();
  EXPECT_EQ(m_profile.Read("day.pcl"), ComposePclJob(kPrinted, 'G', false, false));

  const std::string pdf = m_profile.Path() + "day.pdf";
  ASSERT_EQ(Run({"--mode", "2", "--output", pdf}), 0) << m_err.str();
  const std::string printed = SimplifiedPdfText(m_profile.Read("day.pdf"));
  for (const char* line : {"Pepper Rocket 84", "Silver Legend 86", "recent form line"})
    EXPECT_NE(printed.find(line), std::string::npos) << line << " in " << printed;
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(300)).has_value());
}

TEST_F(PrintOnlyTest, RefusesWhileTheProgramRunsOnTheWorkingFolder) {
  InstanceGuard running(m_folders.baseFolder);
  ASSERT_TRUE(running.Acquire(std::chrono::milliseconds(0)));
  EXPECT_NE(Run({}), 0);
  EXPECT_NE(m_err.str().find("Vantrose is running"), std::string::npos) << m_err.str();
  EXPECT_FALSE(m_profile.Exists(Base("A01Tam01")));
}

TEST_F(PrintOnlyTest, ADataFileCutShortIsPrintedAsFarAsItGoesWithAWarning) {
  std::string text = kDayText;
  text.resize(kRaceRecordSize, '\x1a');  // the text ends at the byte 26
  std::string data = EncodeRaceData(text, 15567);
  data[0] = 40;  // one record there
  m_profile.Write(Base("Data/Vantrose.DAT"), data);
  const std::string pcl = m_profile.Path() + "day.pcl";
  ASSERT_EQ(Run({"--mode", "4", "--output", pcl}), 0) << m_err.str();
  EXPECT_NE(m_err.str().find("vantrose-print: warning: The data file " + m_folders.baseFolder +
                             "Data/Vantrose.DAT is shorter than its header says: it holds 1 of 40 records."),
            std::string::npos)
      << m_err.str();
  EXPECT_EQ(m_profile.Read("day.pcl"), ComposePclJob(kPrinted, 'J', false, false));
}

TEST_F(PrintOnlyTest, ExplainsBadArgumentsUnknownPrintersAndMissingDays) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--mode", "9"}, "--mode takes a print mode from 0 to 7"},
      {{"--colour"}, "unknown argument \"--colour\""},
      {{"--printer", "raw", "--output", "x"}, "exclude each other"},
      {{"--printer", "nowhere"}, "there is no printer named \"nowhere\""},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Run(c.arguments), 0);
    EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(m_out.str().find("Usage: vantrose-print"), std::string::npos);

  std::filesystem::remove(m_profile.Path() + Base("Vantrose.TXT"));
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(m_err.str().find("there is no day to print"), std::string::npos) << m_err.str();
}

TEST_F(PrintOnlyTest, NamesWhatTheWorkingFolderLacksAndCreatesNothing) {
  struct Case {
    const char* removed;  // below the profile, one after the other
    const char* message;  // after the working folder's name
  } const cases[] = {
      {"RavelstowData/Vantrose/Help", "\" lacks its folder Help. Start Vantrose once"},
      {"RavelstowData/Vantrose/Data", "\" lacks its folders Data and Help. Start Vantrose once"},
      {"RavelstowData", "\" does not exist. Start Vantrose once"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed);
    std::filesystem::remove_all(m_profile.Path() + c.removed);
    const std::set<std::string> before = m_profile.Entries();
    EXPECT_EQ(Run({}), 1);
    EXPECT_NE(m_err.str().find("the working folder \"" + m_folders.baseFolder + c.message), std::string::npos)
        << m_err.str();
    EXPECT_EQ(m_profile.Entries(), before);
  }
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(0)).has_value());
}

TEST_F(PrintOnlyTest, AJobTheQueueRefusesFailsWithTheSchedulersReasonInEveryFamily) {
  ASSERT_TRUE(m_server.AddRejectingQueue("closed"));
  m_printing = SystemPrintingServices();
  std::vector<std::string> reasons;
  for (const char* mode : {"5", "0", "3"}) {
    EXPECT_EQ(Run({"--mode", mode, "--printer", "closed"}), 1) << mode;
    const std::string said = m_err.str();
    const std::string lead = "vantrose-print: the job did not reach the printer: ";
    ASSERT_EQ(said.rfind(lead, 0), 0u) << said;
    reasons.push_back(said.substr(lead.size()));
    EXPECT_EQ(m_out.str(), "") << mode;
    EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")), kDayText.substr(kDayText.find('\x0c'))) << mode;
  }
  EXPECT_NE(reasons[0].find("not accepting jobs"), std::string::npos) << reasons[0];
  EXPECT_EQ(std::count(reasons.begin(), reasons.end(), reasons[0]), 3) << reasons[1] << reasons[2];
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(300)).has_value());
}

TEST_F(PrintOnlyTest, LetterAndOneSideUnlessAskedForLegalOrDuplex) {
  // The stored settings ask for legal paper; printing from the window would not use
  // them either, as its Legal and Duplex boxes start unchecked.
  m_profile.Write(Base("Exec/Vantrose.OPT"), "0000\r\nAXEB\r\n@ABC\r\nC7\r\n");
  struct Case {
    std::vector<std::string> arguments;
    bool legal;
    bool duplex;
  };
  const Case cases[] = {{{}, false, false},
                        {{"--legal"}, true, false},
                        {{"--duplex"}, false, true},
                        {{"--duplex", "--legal", "--mode", "6"}, true, true}};
  for (const Case& c : cases) {
    ASSERT_EQ(Run(c.arguments), 0) << m_err.str();
    const auto job = m_server.NextJob();
    ASSERT_TRUE(job.has_value());
    const char letter = c.arguments.size() == 4 ? 'H' : 'J';
    EXPECT_EQ(*job, ComposePclJob(kPrinted, letter, c.legal, c.duplex)) << c.legal << c.duplex;
  }
  EXPECT_EQ(Run({"--help"}), 0);
  for (const char* told : {"--legal", "--duplex", "letter", "SimoDump.LST"})
    EXPECT_NE(m_out.str().find(told), std::string::npos) << told;
}

TEST_F(PrintOnlyTest, AJobNumberThatCannotBeKeptIsNotedAndThePrintGoesOn) {
  m_profile.MakeFolder(Base("Exec/Vantrose.JOB"));  // the number's file cannot be written
  ASSERT_EQ(Run({"--mode", "4"}), 0) << m_err.str();
  EXPECT_TRUE(m_server.NextJob().has_value());
  EXPECT_NE(m_out.str().find("Printed job 0001"), std::string::npos) << m_out.str();
  EXPECT_NE(m_err.str().find("job number 0001 was not kept"), std::string::npos) << m_err.str();
}

}  // namespace
