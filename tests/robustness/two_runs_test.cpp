// Two runs of vantrose-print at once on one working folder, as cron and a user's
// own print may start them: each names the folder another way (the profile path, and
// a link to it with a "./" in it) and has a temporary folder of its own. The lock in
// the working folder keeps them apart: one waits for the other or is refused, and
// over many rounds with the large sample day no report is lost, no page is left
// behind and no print job number is given twice.
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "base/file_layer.h"
#include "pcl/print_commands.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 10;
constexpr int kRefusedStatus = 3;  // vantrose-print's status while the folder is in use

struct PrintRun {
  std::string profile;  // USERPROFILE, the profile folder as this run names it
  std::string temporaryFolder;
  std::string output;
};

class TwoRuns : public ::testing::Test {
 protected:
  TwoRuns() {
    MakeWorkingFolder(root, "profile/");
    fs::create_directory_symlink(root.Path() + "profile", root.Path() + "linked");
    root.MakeFolder("tmp-one");
    root.MakeFolder("tmp-two");
    root.Write(kBase + "SimoDump.LST", "");
  }

  std::unique_ptr<QProcess> Start(const PrintRun& run) const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("USERPROFILE"), QString::fromStdString(run.profile));
    environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(run.temporaryFolder));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(VANTROSE_PRINT_PROGRAM),
                   {QStringLiteral("--mode"), QStringLiteral("4"), QStringLiteral("--output"),
                    QString::fromStdString(run.output)});
    return process;
  }

  // Waits for `process`; returns its exit status, its error text in `err`.
  static int Finish(QProcess& process, std::string& err) {
    EXPECT_TRUE(process.waitForFinished(120000));
    err = process.readAllStandardError().toStdString();
    return process.exitCode();
  }

  std::vector<std::string> WorkingFolderListing() const {
    std::vector<std::string> names = ListFolder(root.Path() + kBase);
    names.erase(std::remove(names.begin(), names.end(), "Exec"), names.end());
    return names;
  }

  static inline const std::string kBase = "profile/RavelstowData/Vantrose/";
  TempFolder root;
};

TEST_F(TwoRuns, OnOneFolderNamedTwoWaysNeverLoseAReport) {
  const PrintRun runs[] = {
      {root.Path() + "profile", root.Path() + "tmp-one", root.Path() + "one.pcl"},
      {root.Path() + "linked/.", root.Path() + "tmp-two", root.Path() + "two.pcl"},
  };
  // The first run decodes the large sample day; the rounds then work on its text alone,
  // so a lost report would stay lost.
  root.Write(kBase + "Data/Vantrose.DAT", ReadFile(VANTROSE_LARGE_SAMPLE_DAY));
  std::string err;
  auto first = Start(runs[0]);
  ASSERT_EQ(Finish(*first, err), 0) << err;
  fs::remove(root.Path() + kBase + "Data/Vantrose.DAT");
  const std::string day = root.Read(kBase + "Vantrose.TXT");
  ASSERT_GT(std::count(day.begin(), day.end(), '\x0c'), 999);
  const std::vector<std::string> listing = WorkingFolderListing();
  ASSERT_EQ(listing, (std::vector<std::string>{"Archive", "Data", "Help", "SimoDump.LST", "Vantrose.TXT"}));

  int printed = 1;
  int refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Each spelling starts first in turn.
    const PrintRun& early = runs[round % 2];
    const PrintRun& late = runs[1 - round % 2];
    for (const PrintRun& run : runs) fs::remove(run.output);
    auto one = Start(early);
    auto two = Start(late);
    std::string errOne;
    std::string errTwo;
    const int statusOne = Finish(*one, errOne);
    const int statusTwo = Finish(*two, errTwo);
    for (const auto& [status, text, run] :
         {std::tuple{statusOne, errOne, &early}, std::tuple{statusTwo, errTwo, &late}}) {
      if (status == 0) {
        ++printed;
        EXPECT_GT(fs::file_size(run->output), 100000u);
      } else {
        ++refused;
        EXPECT_EQ(status, kRefusedStatus) << text;
        EXPECT_NE(text.find("Vantrose is running on"), std::string::npos) << text;
        EXPECT_FALSE(fs::exists(run->output));
      }
    }
    EXPECT_TRUE(statusOne == 0 || statusTwo == 0) << errOne << errTwo;
    EXPECT_EQ(root.Read(kBase + "Vantrose.TXT"), day);
    EXPECT_EQ(WorkingFolderListing(), listing) << "no page, twin or work file left behind";
    if (HasFailure()) break;
  }
  // Every run that printed took the next job number: none ran over another's.
  EXPECT_EQ(root.Read(kBase + "Exec/Vantrose.JOB"), JobNumberText(static_cast<std::uint16_t>(printed)) + "\r\n");
  std::cout << "[          ] " << printed << " runs printed, " << refused << " were refused after the wait\n";
}

}  // namespace
