// Walks a failure through every file operation of the main window's commands:
// for each command and each k, the k-th file operation fails with "Disk full" and
// with "File access denied". After each failure the error box must show the
// conventional text naming the file, every report must still be recoverable from the day's text
// and the page files, no file the user relies on may be half written, and the
// program must go on: the same command, run again, succeeds, and so does close.
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "base/file_layer.h"
#include "base/working_folders.h"
#include "browser/scratch.h"
#include "browser/ui/edit_dialog.h"
#include "browser/ui/options_dialog.h"
#include "browser/ui/page_list_box.h"
#include "import/race_data.h"
#include "import/report_split.h"
#include "platform/system/printing_services.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

namespace fs = std::filesystem;

// ---- The day: every report kind, E pages with performance tables, an A page with odds ----

std::string Padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// A horse block of an E report: the table's top at column 42, `lines` performance
// lines with bars at columns 42 and 64, the bottom line.
std::string HorseBlock(int lines) {
  std::string block =
      Padded("  1 Horse One", 41) + "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(12, '\xC4') + "\xBF\r\n";
  for (int i = 1; i <= lines; ++i)
    block += Padded("   race " + std::to_string(i), 41) + "\xB3" + Padded(" fig", 21) + "\xB3 x\r\n";
  return block + std::string(41, ' ') + "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(12, '\xC4') + "\xD9\r\n";
}

// An odds table of three horses whose chances add up to one.
std::string OddsTable() {
  std::string table = Padded("Odds", 69) + "\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\r\n";
  const char* odds[] = {" 3.0  3.0", " 3.0  3.0", " 1.0  1.0"};
  for (int horse = 0; horse < 3; ++horse)
    table += Padded("  " + std::to_string(horse + 1) + " Horse", 69) + odds[horse] + "  \r\n";
  return table + "end of table\r\n";
}

std::string Report(const std::string& name, const std::string& body) {
  return "\x0c@" + name + " report ID: 0000\r\n" + body;
}

std::string DayText() {
  return "before the first report\r\n" + Report("E01Aqu", HorseBlock(9)) + Report("E01Tam", HorseBlock(3)) +
         Report("A01Tam", OddsTable()) + Report("A02Tam", "second A page\r\n") + Report("X01Tam", "main track\r\n") +
         Report("B01Tam", "b page\r\n");
}

std::string ArchiveText() { return Report("A05Aqu", "archived A\r\n") + Report("E05Aqu", HorseBlock(8)); }

constexpr char kBase[] = "RavelstowData/Vantrose/";
constexpr char kSavedArchive[] = "SAVED.TXT";
constexpr char kLoadedArchive[] = "RACES";

// ---- Fakes: no desktop, one PCL printer, a spooler that keeps what it is sent ----

class OnePrinter final : public PrinterCatalogue {
 public:
  std::vector<std::string> PrinterNames() const override { return {"Fake PCL"}; }
  std::string DefaultPrinterName() const override { return "Fake PCL"; }
};

class RecordingSpooler final : public Spooler {
 public:
  // Reads the job through the file layer, as the system's spooler does.
  SpoolOutcome SpoolJob(const std::string&, const std::string& jobPath, const JobDocument&) override {
    std::string job = ReadFile(jobPath);
    if (jobs != nullptr) jobs->push_back(std::move(job));
    return {true, {}};
  }
  std::vector<std::string>* jobs = nullptr;  // the running session's
};

// The services of every session: made once, because asking the printing system for
// a printer object costs more than a whole start of the program. Each session points
// the message box and the spooler at its own records.
struct SharedServices {
  SharedServices() {
    services.showMessage = [this](const std::string& text) {
      if (messages != nullptr) messages->push_back(text);
    };
    services.shortcut = std::make_unique<NoShortcut>();
    services.printing.catalogue = std::make_unique<OnePrinter>();
    services.printing.currentPrinter = std::make_unique<CurrentPrinter>(*services.printing.catalogue);
    services.printing.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    auto spooler = std::make_unique<RecordingSpooler>();
    recordingSpooler = spooler.get();
    services.printing.spooler = std::move(spooler);
  }
  ProgramServices services;
  RecordingSpooler* recordingSpooler = nullptr;
  std::vector<std::string>* messages = nullptr;
};

SharedServices& Services() {
  static SharedServices shared;
  return shared;
}

// ---- What the checks look at ----

using Snapshot = std::map<std::string, std::string>;  // path below the profile -> bytes

Snapshot TakeSnapshot(const std::string& root) {
  Snapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).generic_string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// Lines as the program reads them: CR LF, LF or CR ends a line, a byte 26 ends the text.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != 26; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      pending = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

using Reports = std::map<std::string, std::string>;  // report name -> its lines

// The reports the user could get back from `files`: each report of the day's text,
// taken from its page file where that exists (from the untrimmed twin for an E
// report, which is where the rejoin takes it from), else from the text itself;
// and every report whose page files exist although the text does not hold it.
Reports RecoverableReports(const Snapshot& files) {
  const std::string base = kBase;
  Reports reports;
  if (const auto text = files.find(base + "Vantrose.TXT"); text != files.end()) {
    std::string current;
    for (const std::string& line : Lines(text->second)) {
      if (const auto name = StartedReportName(line)) current = *name;
      if (!current.empty()) reports[current] += line + "\n";
    }
  }
  for (const auto& [path, bytes] : files) {
    if (path.rfind(base, 0) != 0 || path.find('/', base.size()) != std::string::npos) continue;
    const std::string fileName = path.substr(base.size());
    const std::vector<std::string> lines = Lines(bytes);
    if (lines.empty()) continue;
    const auto name = StartedReportName(lines.front());
    if (!name) continue;
    const bool fromTwin = name->front() == 'E';
    if (fileName == (fromTwin ? TwinName(*name) : *name)) reports[*name] = Joined(lines);
  }
  return reports;
}

std::string ReportNames(const Reports& reports) {
  std::string names;
  for (const auto& [name, lines] : reports)
    names += name + "(" + std::to_string(std::count(lines.begin(), lines.end(), '\n')) + ") ";
  return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// ---- One run of the program on a fresh profile ----

struct Session {
  Session() {
    folders = MakeWorkingFolder(profile);
    profile.Write(std::string(kBase) + "Data/Vantrose.DAT", EncodeRaceData(DayText(), 15567));
    profile.Write(std::string(kBase) + "Archive/" + kSavedArchive, "an older archive\r\n");
    profile.Write(std::string(kBase) + "Archive/" + kLoadedArchive, ArchiveText());
    Services().messages = &messages;
    Services().recordingSpooler->jobs = &jobs;
  }
  ~Session() {
    program.reset();
    Services().messages = nullptr;
    Services().recordingSpooler->jobs = nullptr;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void Start() {
    program = StartProgram(Services().services, folders);
    form = program ? program->mainForm.get() : nullptr;
    if (form == nullptr) return;
    form->InputBox = [this](const QString&, const QString&) {
      if (answers.empty()) return QString();
      const QString answer = QString::fromStdString(answers.front());
      answers.pop_front();
      return answer;
    };
  }
  void Restart() {
    program.reset();
    form = nullptr;
    Start();
  }
  Snapshot Files() const { return TakeSnapshot(profile.Path()); }
  std::vector<std::string> ListTexts() const {
    std::vector<std::string> texts;
    for (const PageItem& item : form->Pages().items) texts.push_back(item.text);
    return texts;
  }
  std::string Page(const std::string& name) const { return profile.Read(std::string(kBase) + name); }

  TempFolder profile;
  WorkingFolders folders;
  std::vector<std::string> messages;
  std::vector<std::string> jobs;
  std::deque<std::string> answers;
  std::unique_ptr<Program> program;
  TMainForm* form = nullptr;
};

// ---- The commands walked ----

void ConfirmOptionsWithMaximum(Session& session, int maximum) {
  session.form->RunModal = [maximum](QDialog& dialog) {
    auto& options = static_cast<TOptionsForm&>(dialog);
    dialog.setResult(QDialog::Rejected);
    options.emaxupdown->SetPosition(maximum);
    options.OptionsOk->click();
    return dialog.result();
  };
  session.form->OptionsMenu->trigger();
}

// The maximum differs from the stored one, so the E pages are cut again.
void ChangeTheMaximum(Session& session) {
  ConfirmOptionsWithMaximum(session, session.form->State().settings.maxPerfLines == 3 ? 5 : 3);
}

void SelectPage(Session& session, const std::string& name) {
  const std::vector<std::string> texts = session.ListTexts();
  const auto at = std::find(texts.begin(), texts.end(), name);
  ASSERT_NE(at, texts.end()) << name;
  session.form->ReportListBox->setCurrentRow(static_cast<int>(at - texts.begin()));
}

// Marks the first horse of the odds table with "!" and confirms the editor.
void ScratchFirstHorse(Session& session) {
  session.form->RunModal = [](QDialog& dialog) {
    auto& editor = static_cast<TEditForm&>(dialog);
    dialog.setResult(QDialog::Rejected);
    std::vector<std::string> lines = editor.Lines();
    for (std::string& line : lines)
      if (IsEntryLine(line)) {
        line += '!';
        break;
      }
    editor.LoadLines(lines);
    editor.EditOK->click();
    return dialog.result();
  };
  session.form->MenuEdit->trigger();
}

void SaveArchive(Session& session) {
  session.answers = {kSavedArchive};
  session.form->FileMenuSave->trigger();
}

void LoadArchive(Session& session) {
  session.answers = {kLoadedArchive};
  session.form->FileMenuLoad->trigger();
}

void SelectPclMode(Session& session) {
  session.form->FontSelect->SetPosition(7 - 4);  // "PCL Portrait 10pt"
  emit session.form->FontSelect->Clicked();
}

void Print(Session& session) { session.form->PrintButton->click(); }

void Close(Session& session) { session.form->close(); }

struct Scenario {
  const char* name;
  std::function<void(Session&)> prepare;  // unarmed: brings the program to the command
  std::function<void(Session&)> command;  // the command walked
};

const Scenario kScenarios[] = {
    {"start-up", [](Session&) {}, [](Session& session) { session.Restart(); }},
    {"options rebuild", [](Session& session) { session.Start(); }, ChangeTheMaximum},
    {"scratch",
     [](Session& session) {
       session.Start();
       SelectPage(session, "A01Tam");
     },
     ScratchFirstHorse},
    {"archive save", [](Session& session) { session.Start(); }, SaveArchive},
    {"archive load", [](Session& session) { session.Start(); }, LoadArchive},
    {"print",
     [](Session& session) {
       session.Start();
       SelectPclMode(session);
     },
     Print},
    {"close", [](Session& session) { session.Start(); }, Close},
};

// Files the user relies on: the day's text, page and twin files, settings, job
// number, archives, help files and the schedule. The data file is only read.
bool IsUserFile(const std::string& path) {
  const std::string base = kBase;
  if (path.rfind(base, 0) != 0) return false;
  const std::string relative = path.substr(base.size());
  for (const char* workFile : {"Vantrose.PRN", "Vantrose.PCL"})
    if (relative == workFile) return false;  // left in place when a print fails, as a print's work files are
  return true;
}

// The conventional text of a failure with `error` naming the working folder or a file
// in it: the ordinary text, ": " and the path, or for a file written from the program's
// built-in data, the text of a file stream that cannot be created.
bool IsConventionalText(const std::string& shown, int error, const std::string& baseFolder) {
  if (shown.rfind(IoErrorText(error) + ": " + baseFolder, 0) == 0) return true;
  for (const InstalledFile& file : kInstalledFiles)
    if (shown ==
        "Cannot create file \"" + OwnFilePath(baseFolder, file.file) + "\". " + std::generic_category().message(error))
      return true;
  return false;
}

struct Reference {
  long operations = 0;
  Snapshot after;
  std::vector<std::string> listAfter;
};

Reference RunUnarmed(const Scenario& scenario) {
  Session session;
  scenario.prepare(session);
  FaultInjection::Arm(0, 0);
  scenario.command(session);
  Reference reference;
  reference.operations = FaultInjection::OperationCount();
  FaultInjection::Disarm();
  EXPECT_EQ(session.messages, std::vector<std::string>{}) << scenario.name;
  reference.after = session.Files();
  if (session.form != nullptr) reference.listAfter = session.ListTexts();
  return reference;
}

// Every user file is as it was before the command, as a whole run of it leaves it,
// or (a page file) as split, equal to its untrimmed twin; no temporary file is left.
void ExpectNoFileHalfWritten(const Snapshot& before, const Snapshot& after, const Snapshot& now,
                             const std::string& where) {
  std::set<std::string> paths;
  for (const Snapshot* files : {&before, &after, &now})
    for (const auto& entry : *files) paths.insert(entry.first);
  for (const std::string& path : paths) {
    EXPECT_FALSE(EndsWith(path, AtomicFile::TemporaryPathFor(""))) << where << ": left " << path;
    EXPECT_FALSE(EndsWith(path, "Vantrose.TMP")) << where << ": left " << path;
    if (!IsUserFile(path)) continue;
    const auto current = now.find(path);
    const auto old = before.find(path);
    const auto done = after.find(path);
    if (current == now.end()) {
      EXPECT_TRUE(old == before.end() || done == after.end()) << where << ": lost " << path;
      continue;
    }
    const std::string& bytes = current->second;
    if (old != before.end() && bytes == old->second) continue;
    if (done != after.end() && bytes == done->second) continue;
    const std::string fileName = path.substr(path.rfind('/') + 1);
    const auto twin = now.find(path.substr(0, path.rfind('/') + 1) + TwinName(fileName));
    if (twin != now.end() && twin->first != path && bytes == twin->second) continue;
    ADD_FAILURE() << where << ": " << path << " is neither its old nor its new content (" << bytes.size() << " bytes)";
  }
}

// The same command runs again unarmed and succeeds, and then the program closes.
void ExpectTheProgramGoesOn(Session& session, const Scenario& scenario, const Reference& reference,
                            const std::string& where) {
  session.messages.clear();
  if (std::string(scenario.name) == "start-up") {
    session.Restart();
    ASSERT_NE(session.form, nullptr) << where;
    EXPECT_EQ(session.ListTexts(), reference.listAfter) << where;
  } else if (std::string(scenario.name) == "print") {
    SelectPclMode(session);  // a failed print leaves PRINT disabled until the mode is chosen again
    const std::size_t jobs = session.jobs.size();
    Print(session);
    EXPECT_EQ(session.jobs.size(), jobs + 1) << where;
    EXPECT_EQ(session.form->PrintCounter->text(), "-OK-") << where;
  } else if (std::string(scenario.name) == "scratch") {
    const std::size_t lines = Lines(session.Page("A01Tam")).size();
    ScratchFirstHorse(session);
    EXPECT_EQ(Lines(session.Page("A01Tam")).size(), lines - 1) << where;
  } else if (std::string(scenario.name) == "close") {
    // Closing is the command itself: the next close below repeats it.
  } else {
    scenario.command(session);
    if (std::string(scenario.name) != "archive save") {
      EXPECT_EQ(session.ListTexts(), reference.listAfter) << where;
    } else {
      EXPECT_EQ(session.Files().at(std::string(kBase) + "Archive/" + kSavedArchive),
                reference.after.at(std::string(kBase) + "Archive/" + kSavedArchive))
          << where;
    }
  }
  EXPECT_EQ(session.messages, std::vector<std::string>{}) << where;
  EXPECT_TRUE(session.form->close()) << where;
  EXPECT_EQ(session.messages, std::vector<std::string>{}) << where;
}

class FaultWalk : public ::testing::TestWithParam<int> {
 protected:
  void TearDown() override { FaultInjection::Disarm(); }
};

TEST_P(FaultWalk, EveryFailingFileOperationIsReportedLosesNoReportAndLeavesNoFileHalfWritten) {
  const Scenario& scenario = kScenarios[GetParam()];
  const Reference reference = RunUnarmed(scenario);
  ASSERT_GT(reference.operations, 0) << scenario.name;
  const Reports reportsAfter = RecoverableReports(reference.after);
  ASSERT_FALSE(reportsAfter.empty());

  for (long k = 1; k <= reference.operations; ++k) {
    for (const int error : {ENOSPC, EACCES}) {
      const std::string where =
          std::string(scenario.name) + ", operation " + std::to_string(k) + " failing with " + IoErrorText(error);
      Session session;
      scenario.prepare(session);
      ASSERT_TRUE(session.messages.empty()) << where;
      const Snapshot before = session.Files();
      const std::size_t jobsBefore = session.jobs.size();
      FaultInjection::Arm(k, error);
      scenario.command(session);
      FaultInjection::Disarm();

      const Snapshot now = session.Files();
      if (std::string(scenario.name) == "print" && session.messages.empty()) {
        // Only keeping the job number may fail unseen: the print goes on, the failure is
        // noted on standard error, and the stored number stays the old one.
        const std::string jobNumberFile = std::string(kBase) + "Exec/Vantrose.JOB";
        EXPECT_EQ(session.jobs.size(), jobsBefore + 1) << where;
        EXPECT_EQ(session.form->PrintCounter->text(), "-OK-") << where;
        EXPECT_EQ(now.count(jobNumberFile), before.count(jobNumberFile)) << where;
        if (now.count(jobNumberFile) == 1 && before.count(jobNumberFile) == 1)
          EXPECT_EQ(now.at(jobNumberFile), before.at(jobNumberFile)) << where;
      } else {
        ASSERT_EQ(session.messages.size(), 1u) << where;
        EXPECT_TRUE(IsConventionalText(session.messages.front(), error, session.folders.baseFolder))
            << where << ": " << session.messages.front();
      }
      const Reports reports = RecoverableReports(now);
      const Reports reportsBefore = RecoverableReports(before);
      EXPECT_TRUE(reports == reportsBefore || reports == reportsAfter)
          << where << ": recoverable " << ReportNames(reports) << "; before " << ReportNames(reportsBefore)
          << "; after " << ReportNames(reportsAfter);
      ExpectNoFileHalfWritten(before, reference.after, now, where);
      ExpectTheProgramGoesOn(session, scenario, reference, where);
      if (HasFailure()) return;  // one faulty k says enough; the rest would repeat it
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultWalk, ::testing::Range(0, static_cast<int>(std::size(kScenarios))),
                         [](const ::testing::TestParamInfo<int>& param) {
                           std::string name = kScenarios[param.param].name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
