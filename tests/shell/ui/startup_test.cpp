// Start-up and close of the real main window on a temporary profile, offscreen.
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>

#include "base/file_layer.h"
#include "browser/ui/page_list_box.h"
#include "import/race_data.h"
#include "platform/instance_guard.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

struct ShortcutCall {
  std::string target;
  std::string title;
};

class RecordingShortcut final : public DesktopShortcut {
 public:
  explicit RecordingShortcut(std::vector<ShortcutCall>& calls) : m_calls(calls) {}
  void Make(const std::string& target, const std::string& title) override { m_calls.push_back({target, title}); }

 private:
  std::vector<ShortcutCall>& m_calls;
};

class StartupTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    m_services.shortcut = std::make_unique<RecordingShortcut>(m_shortcutCalls);
    m_services.printing = SystemPrintingServices();
  }

  std::unique_ptr<Program> Start() { return StartHere(); }

  std::vector<ShortcutCall> m_shortcutCalls;
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndInstalledFilesAndShowsTheRuler) {
  auto program = Start();
  ASSERT_TRUE(program);
  TMainForm& form = *program->mainForm;

  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.OPT")), "0000\r\nAXE\r\n@ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n27\r\n");
  for (const InstalledFile& file : kInstalledFiles)
    EXPECT_EQ(m_profile.Read(Base(std::string(file.file))), FindResource(file.resource)) << file.file;
  EXPECT_EQ(form.MainMemo->toPlainText().toStdString(), kRulerLine);
  EXPECT_EQ(form.RaceDate->text(), "Race Date");
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.TXT")));

  const std::string exePath = QCoreApplication::applicationFilePath().toStdString();
  EXPECT_EQ(form.windowTitle().toStdString(), exePath + "        Build :  1468363032");
  // Default print settings 2: "WIN Portrait 7pt", the up-down at 7 - 2.
  EXPECT_EQ(form.SpinFont->text().toStdString(), "     WIN Portrait 7pt        ");
  EXPECT_EQ(form.FontSelect->Position(), 5);
  EXPECT_TRUE(form.PrintButton->isEnabled());
  EXPECT_FALSE(form.SaveButton->isEnabled());
  EXPECT_EQ(form.PrintCounter->text(), "    ");
  // No installed program file yet: the shortcut starts the running program.
  ASSERT_EQ(m_shortcutCalls.size(), 1u);
  EXPECT_EQ(m_shortcutCalls[0].target, exePath);
  EXPECT_EQ(m_shortcutCalls[0].title, "Ravelstow VANTROSE");
  EXPECT_TRUE(form.isVisible());
}

TEST_F(StartupTest, MainWindowHasItsComponentsAtTheirPlaces) {
  auto program = Start();
  ASSERT_TRUE(program);
  TMainForm& form = *program->mainForm;
  EXPECT_EQ(form.centralWidget()->size(), QSize(984, 542));
  struct Expected {
    QWidget* widget;
    QRect geometry;
  };
  const Expected places[] = {
      {form.RaceDate, {0, 0, 270, 30}},      {form.ReportListBox, {0, 30, 270, 300}},
      {form.checkALL, {0, 332, 90, 30}},     {form.clearALL, {90, 332, 90, 30}},
      {form.MainMemo, {270, 0, 666, 542}},   {form.ListBox1, {181, 332, 90, 90}},
      {form.PrintButton, {0, 364, 180, 62}}, {form.PrintCounter, {69, 410, 42, 9}},
      {form.SpinFont, {0, 429, 169, 18}},    {form.FontSelect, {164, 428, 16, 20}},
      {form.PrintBevel, {0, 449, 272, 1}},   {form.PrintSimo, {30, 485, 210, 30}},
      {form.options, {30, 515, 210, 20}},
  };
  for (const Expected& place : places)
    EXPECT_EQ(place.widget->geometry(), place.geometry) << place.widget->objectName().toStdString();
  EXPECT_EQ(form.checkALL->text(), "Chec&k ALL");
  EXPECT_EQ(form.PrintButton->text(), "&PRINT");
  EXPECT_FALSE(form.SaveButton->isVisible());
  EXPECT_TRUE(form.MainMemo->isReadOnly());

  QStringList menu;
  for (QAction* action : form.menuBar()->actions())
    if (action->isEnabled()) menu << action->text();
  EXPECT_EQ(menu,
            QStringList({"&Archive", "&ScratchX", "&Options", "?", "PRINT Current View  Only", "Print Pre&view"}));
  EXPECT_EQ(form.menuBar()->actions().size(), 3 + 12 + 1 + 12 + 1 + 4 + 1);
  for (const char* dialog : {"OptionsForm", "EditForm", "PrinterXForm", "SimoOpts"})
    EXPECT_NE(form.findChild<QWidget*>(dialog), nullptr) << dialog;
}

TEST_F(StartupTest, MainWindowOpensWithItsMenuAndPageListOnScreen) {
  // The offscreen screen (800 x 800) is narrower than the window and higher.
  auto program = Start();
  ASSERT_TRUE(program);
  TMainForm& form = *program->mainForm;
  const QRect available = form.screen()->availableGeometry();
  ASSERT_LT(available.width(), form.width());
  ASSERT_GT(available.height(), form.frameGeometry().height());
  EXPECT_EQ(form.frameGeometry().left(), available.left());
  // Centred up and down, give or take what the frame measures once shown.
  EXPECT_LE(std::abs(form.frameGeometry().center().y() - available.center().y()), 3);
  for (const QWidget* widget : std::initializer_list<const QWidget*>{form.menuBar(), form.ReportListBox}) {
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    EXPECT_TRUE(available.contains(topLeft)) << widget->objectName().toStdString();
  }
  EXPECT_TRUE(available.contains(QRect(form.ReportListBox->mapToGlobal(QPoint(0, 0)), form.ReportListBox->size())));
}

TEST_F(StartupTest, DataFileIsDecodedAndItsRaceDateShown) {
  const std::string text = "\x0c@A01Tam race one ID: \x01xxx\r\nline\r\n";
  m_profile.Write(Base("Data/Vantrose.DAT"), EncodeRaceData(text, 15567));  // 12 July 2016
  m_profile.Write(Base("Exec/Vantrose.UID"), "4321\r\n");
  auto program = Start();
  ASSERT_TRUE(program);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(program->mainForm->RaceDate->text(), "Tue 12-Jul-2016");
  const std::string decoded = m_profile.Read(Base("Vantrose.TXT"));
  ASSERT_EQ(decoded.size(), kRaceRecordSize);
  EXPECT_EQ(decoded.substr(0, 30), "\x0c@A01Tam race one ID: 4321\r\nli");
}

TEST_F(StartupTest, DataFileFoundWithoutRegardToLetterCase) {
  m_profile.Write(Base("Data/vantrose.dat"), EncodeRaceData("x\r\n", 0));
  auto program = Start();
  ASSERT_TRUE(program);
  EXPECT_EQ(program->mainForm->RaceDate->text(), "Wed 28-Nov-1973");
}

TEST_F(StartupTest, FailingStepIsShownAndTheWindowOpensWithTheStateReached) {
  // A folder where the first help file is written blocks it.
  m_profile.MakeFolder(Base("Help/") + AtomicFile::TemporaryPathFor("A-Report.HLP"));
  m_profile.Write(Base("Data/Vantrose.DAT"), EncodeRaceData("x\r\n", 0));
  auto program = Start();
  ASSERT_TRUE(program);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].rfind("Cannot create file \"" + m_folders.baseFolder + "Help/A-Report.HLP\". ", 0), 0u)
      << m_messages[0];
  // The steps before the failure ran, the decoding after it did not.
  EXPECT_TRUE(m_profile.Exists(Base("Exec/Vantrose.OPT")));
  EXPECT_EQ(program->mainForm->RaceDate->text(), "Race Date");
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.TXT")));
  EXPECT_TRUE(program->mainForm->isVisible());
}

TEST_F(StartupTest, ShortDataFileKeepsTheOldTextAndTheDesignCaption) {
  m_profile.Write(Base("Data/Vantrose.DAT"), std::string(100, '\x55'));
  m_profile.Write(Base("Vantrose.TXT"), "old text\r\n");
  auto program = Start();
  ASSERT_TRUE(program);
  EXPECT_EQ(m_messages, std::vector<std::string>{"Read beyond end of file: " + PagePath("Data/Vantrose.DAT")});
  EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")), "old text\r\n");
  EXPECT_EQ(program->mainForm->RaceDate->text(), "Race Date");
  EXPECT_TRUE(program->mainForm->SaveButton->isEnabled());
}

// A header claiming more records than the file holds: the day opens with the records
// there, each once, and the user is told the file was cut short.
TEST_F(StartupTest, ATruncatedDataFileOpensWithWhatItHoldsAndSaysSo) {
  std::string data = EncodeRaceData("\x0c@A01Tam race one\r\nline\r\n", 15567);
  data[0] = data[1] = '\xFF';  // 65535 records claimed, one there
  m_profile.Write(Base("Data/Vantrose.DAT"), data);
  auto program = Start();
  ASSERT_TRUE(program);
  EXPECT_EQ(m_messages, std::vector<std::string>{"The data file " + m_folders.baseFolder +
                                                 "Data/Vantrose.DAT is shorter than its header says: it holds 1 of "
                                                 "65535 records. The day opens with what it holds; some reports may "
                                                 "be missing or cut off."});
  EXPECT_EQ(program->mainForm->RaceDate->text(), "Tue 12-Jul-2016");
  EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")).size(), kRaceRecordSize);
  EXPECT_EQ(program->mainForm->Pages().items.front().text, "A01Tam");
}

// Pages that vanished while the window was open (another program, the user, a sync)
// are taken from the day's text at close; every report is kept and the user is told.
TEST_F(StartupTest, ClosingAfterPagesVanishedKeepsEveryReportAndNamesThem) {
  const std::string text =
      "\x0c@A01Tam race one\r\nline\r\n\x0c@E01Tam perf\r\nperformance\r\n"
      "\x0c@B01Tam form\r\nform line\r\n";
  m_profile.Write(Base("Vantrose.TXT"), text);
  auto program = Start();
  ASSERT_TRUE(program);
  for (const char* page : {"A01Tam", "A0~Tam", "E01Tam", "E0~Tam"}) std::filesystem::remove(PagePath(page));
  EXPECT_TRUE(program->mainForm->close());
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].rfind("The pages A01Tam, E01Tam were missing", 0), 0u) << m_messages[0];
  EXPECT_EQ(m_profile.Read(Base("Vantrose.TXT")), text);
  EXPECT_FALSE(m_profile.Exists(Base("B01Tam")));
}

// A cut path named another folder (the parent, once the cut fell there): a long path
// the system takes works, one it refuses is told before anything runs.
TEST_F(StartupTest, LongProfilePathsAreUsedWholeOrRefusedByName) {
  std::string deep;
  while (deep.size() < 300) deep += "a-long-folder-name-of-a-profile/";
  m_folders = MakeWorkingFolder(m_profile, deep);
  m_profile.Write(deep + Base("Vantrose.TXT"), "\x0c@A01Tam race one\r\nline\r\n");
  auto program = Start();
  ASSERT_TRUE(program);
  EXPECT_TRUE(m_messages.empty()) << m_messages.front();
  EXPECT_EQ(program->mainForm->Pages().items.front().text, "A01Tam");
  EXPECT_TRUE(program->mainForm->close());
  program.reset();

  std::string tooDeep = deep;
  while (tooDeep.size() < 4100) tooDeep += "a-long-folder-name-of-a-profile/";
  m_folders = {m_profile.Path() + tooDeep, m_profile.Path() + tooDeep + Base("")};
  EXPECT_EQ(Start(), nullptr);
  EXPECT_EQ(m_messages,
            std::vector<std::string>{"The working folder's path is too long for this system: " + m_folders.baseFolder});
}

TEST_F(StartupTest, SettingsAreReadAtStartAndWrittenAtClose) {
  m_profile.Write(Base("Exec/Vantrose.OPT"), "0000\r\nAX\r\nAB\r\nD9\r\n");
  auto program = Start();
  ASSERT_TRUE(program);
  TMainForm& form = *program->mainForm;
  EXPECT_EQ(form.State().settings.trackLetters, "ABG");
  EXPECT_EQ(form.State().printMode, 5);
  EXPECT_TRUE(form.State().legalPaper);
  EXPECT_EQ(form.SpinFont->text().toStdString(), "     PCL  *reserved*         ");
  EXPECT_TRUE(form.close());
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.OPT")), "0000\r\nAX\r\nABG\r\nD9\r\n");
}

TEST_F(StartupTest, FailingCloseIsShownAndTheWindowStaysOpen) {
  auto program = Start();
  ASSERT_TRUE(program);
  m_profile.Write(Base("Exec/Vantrose.OPT"), "before\r\n");
  FaultInjection::Arm(1, ENOSPC);
  EXPECT_FALSE(program->mainForm->close());
  EXPECT_EQ(m_messages, std::vector<std::string>{"Disk full: " + PagePath("Exec/Vantrose.OPT")});
  EXPECT_TRUE(program->mainForm->isVisible());
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.OPT")), "before\r\n");
}

// Without its lock no instance can be kept apart from another, so a lock that cannot
// be opened (here a folder stands where the lock file goes) refuses the start with the
// reason, before any step runs, and the program ends with status 1.
TEST_F(StartupTest, ALockThatCannotBeOpenedRefusesTheStartWithTheReason) {
  m_profile.MakeFolder(Base("Exec/Vantrose.LCK"));
  int exitStatus = 0;
  EXPECT_EQ(StartProgram(m_services, m_folders, &exitStatus), nullptr);
  EXPECT_EQ(m_messages, std::vector<std::string>{"Cannot create file \"" + m_folders.baseFolder +
                                                 "Exec/Vantrose.LCK\". " + std::generic_category().message(EISDIR)});
  EXPECT_EQ(exitStatus, 1);
  EXPECT_FALSE(m_profile.Exists(Base("SimoDump.LST")));
}

TEST_F(StartupTest, SecondInstanceIsRefusedWithItsMessage) {
  InstanceGuard first(m_folders.baseFolder);
  ASSERT_TRUE(first.Acquire(std::chrono::milliseconds(0)));
  EXPECT_EQ(Start(), nullptr);
  EXPECT_EQ(m_messages, std::vector<std::string>{"Whoa!  Only one instance of Vantrose.EXE at a time."});
  EXPECT_FALSE(m_profile.Exists(Base("Exec/Vantrose.OPT")));  // no start-up step ran
}

// ---- The first start on a profile that lacks the working folder ----

struct MissingCase {
  const char* name;
  std::vector<std::string> removed;  // below the profile
  std::string asked;                 // what the question says of the working folder
};

const MissingCase kMissingCases[] = {
    {"no working folder", {"RavelstowData"}, "\" does not exist"},
    {"Help and Archive missing",
     {"RavelstowData/Vantrose/Help", "RavelstowData/Vantrose/Archive"},
     "\" lacks its folders Help and Archive"},
};

// The working folder in `profile` without what `c` removes.
WorkingFolders MakeWorkingFolderWithout(const TempFolder& profile, const MissingCase& c) {
  const WorkingFolders folders = MakeWorkingFolder(profile);
  for (const std::string& removed : c.removed) std::filesystem::remove_all(profile.Path() + removed);
  return folders;
}

TEST_F(StartupTest, FirstStartAsksOnceThenCreatesExactlyTheMissingFoldersAndOpensOnAnEmptyDay) {
  for (const MissingCase& c : kMissingCases) {
    SCOPED_TRACE(c.name);
    TempFolder profile;
    const WorkingFolders folders = MakeWorkingFolderWithout(profile, c);
    m_folderQuestions.clear();
    m_createFolders = true;

    int exitStatus = -1;
    auto program = StartProgram(m_services, folders, &exitStatus);
    ASSERT_TRUE(program);
    EXPECT_EQ(exitStatus, 0);
    ASSERT_EQ(m_folderQuestions.size(), 1u);
    EXPECT_NE(m_folderQuestions[0].find("\"" + folders.baseFolder + c.asked), std::string::npos)
        << m_folderQuestions[0];
    EXPECT_EQ(m_messages, std::vector<std::string>{});
    EXPECT_EQ(program->mainForm->ReportListBox->count(), 0);
    // The folders and what every start writes (the instance lock among it); nothing else.
    std::set<std::string> expected = {
        "RavelstowData/", Base(""),      Base("Archive/"),          Base("Data/"),
        Base("Exec/"),    Base("Help/"), Base("Exec/Vantrose.OPT"), Base("Exec/Vantrose.LCK")};
    for (const InstalledFile& file : kInstalledFiles) expected.insert(Base(std::string(file.file)));
    EXPECT_EQ(profile.Entries(), expected);

    // Asked once: the next start finds everything in place.
    ASSERT_TRUE(program->mainForm->close());
    program.reset();
    EXPECT_TRUE(StartProgram(m_services, folders));
    EXPECT_EQ(m_folderQuestions.size(), 1u);
  }
}

TEST_F(StartupTest, QuittingAtTheFirstStartsQuestionChangesNothing) {
  for (const MissingCase& c : kMissingCases) {
    SCOPED_TRACE(c.name);
    TempFolder profile;
    const WorkingFolders folders = MakeWorkingFolderWithout(profile, c);
    const std::set<std::string> before = profile.Entries();
    m_folderQuestions.clear();
    m_createFolders = false;

    int exitStatus = -1;
    EXPECT_EQ(StartProgram(m_services, folders, &exitStatus), nullptr);
    EXPECT_EQ(exitStatus, 0);
    EXPECT_EQ(m_folderQuestions.size(), 1u);
    EXPECT_EQ(m_messages, std::vector<std::string>{});
    EXPECT_EQ(profile.Entries(), before) << "nothing made, the instance lock Exec/Vantrose.LCK neither";
    EXPECT_EQ(m_shortcutCalls.size(), 0u) << "no start-up step ran";
  }
}

TEST_F(StartupTest, AFolderTheFirstStartCannotCreateIsShownAndEndsTheStart) {
  std::filesystem::remove_all(m_profile.Path() + Base("Archive"));
  m_profile.Write(Base("Archive"), "a file where the folder belongs");
  m_createFolders = true;
  int exitStatus = -1;
  EXPECT_EQ(StartProgram(m_services, m_folders, &exitStatus), nullptr);
  EXPECT_EQ(exitStatus, 1);
  EXPECT_EQ(m_folderQuestions.size(), 1u);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0], IoErrorTextFor(IoErrorText(EEXIST), m_folders.baseFolder + "Archive"));
  EXPECT_FALSE(m_profile.Exists(Base("Exec/Vantrose.OPT"))) << "no start-up step ran";
  EXPECT_EQ(m_profile.Read(Base("Archive")), "a file where the folder belongs");
}

}  // namespace
