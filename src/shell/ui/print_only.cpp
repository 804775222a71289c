#include "shell/ui/print_only.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>

#include "base/file_layer.h"
#include "base/scope_guard.h"
#include "base/working_folders.h"
#include "canvas/canvas_print.h"
#include "import/report_split.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"
#include "platform/instance_guard.h"
#include "platform/system/printing_services.h"
#include "platform/system/qt_printer_canvas.h"
#include "shell/day_cycle.h"

namespace {

struct PrintOnlyOptions {
  std::optional<int> mode;
  bool legal = false;  // as the window starts: its Legal and Duplex boxes are unchecked
  bool duplex = false;
  std::string printer;
  std::string output;
  bool help = false;
};

// Reads the arguments; returns an error text when they are not understood.
std::optional<std::string> ParseArguments(const std::vector<std::string>& arguments, PrintOnlyOptions& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--mode") {
      const auto text = value();
      if (!text || text->size() != 1 || (*text)[0] < '0' || (*text)[0] > '7')
        return "--mode takes a print mode from 0 to 7";
      options.mode = (*text)[0] - '0';
    } else if (argument == "--legal") {
      options.legal = true;
    } else if (argument == "--duplex") {
      options.duplex = true;
    } else if (argument == "--printer") {
      const auto text = value();
      if (!text || text->empty()) return "--printer takes a printer name";
      options.printer = *text;
    } else if (argument == "--output") {
      const auto text = value();
      if (!text || text->empty()) return "--output takes a file name";
      options.output = *text;
    } else {
      return "unknown argument \"" + argument + "\"";
    }
  }
  if (!options.printer.empty() && !options.output.empty()) return "--printer and --output exclude each other";
  return std::nullopt;
}

// Prints the prepared print file: into `output` when given, else on the current printer.
PrintOutcome PrintPrepared(AppState& state, PrintingServices& printing, const std::string& output) {
  if (output.empty()) {
    QtPrinterCanvas canvas(*printing.printer, *printing.currentPrinter, *printing.spooler);
    return PrintWorkFile(state.baseFolder, state.printMode, state.legalPaper, state.duplexPrint, canvas,
                         *printing.spooler, printing.currentPrinter->DeviceName());
  }
  const std::string printFile = OwnFilePath(state.baseFolder, kPrintFileName);
  PrintOutcome outcome = PrintOutcome::Delivered();
  if (IsPclMode(state.printMode)) {
    // The user named the output file: a link there is written through, as any command would.
    BuildPclJob(printFile, output, ModeLetter(state.printMode), state.legalPaper, state.duplexPrint,
                AtLink::FollowLink);
  } else {
    QtPrinterCanvas canvas(*printing.printer, QString::fromStdString(output));
    try {
      CanvasPrintFile(state.baseFolder, std::string(kPrintFileName), ModeLetter(state.printMode), canvas,
                      state.legalPaper);
    } catch (const PrintFailure& failure) {
      outcome = PrintOutcome::Failed(failure.what());
    }
  }
  DeleteIfExists(printFile);
  return outcome;
}

}  // namespace

int RunPrintOnly(const std::vector<std::string>& arguments, const WorkingFolders& folders, PrintingServices& printing,
                 std::ostream& out, std::ostream& err) {
  PrintOnlyOptions options;
  if (const auto problem = ParseArguments(arguments, options)) {
    err << "vantrose-print: " << *problem << "\n\n" << kPrintOnlyUsage;
    return 2;
  }
  if (options.help) {
    out << kPrintOnlyUsage;
    return 0;
  }

  // The program's first start makes a missing working folder; this command never does.
  try {
    if (const std::vector<std::string> missing = MissingFolders(folders); !missing.empty()) {
      err << "vantrose-print: " << MissingFoldersText(folders, missing)
          << ". Start Vantrose once, which offers to create what is missing.\n";
      return 1;
    }
  } catch (const IoError& error) {
    err << "vantrose-print: " << error.what() << " while looking for the working folder " << folders.baseFolder
        << ".\n";
    return 1;
  }

  InstanceGuard guard(folders.baseFolder);
  try {
    CheckFolderPath(folders.baseFolder);
    if (!guard.Acquire(kInstanceWait)) {
      err << "vantrose-print: Vantrose is running on " << folders.baseFolder
          << "; close it first, or print from its window.\n";
      return 3;
    }
  } catch (const IoError& error) {
    err << "vantrose-print: " << error.what() << "\n";
    return 1;
  }
  if (!options.printer.empty()) {
    const auto& names = printing.currentPrinter->Names();
    if (std::find(names.begin(), names.end(), options.printer) == names.end()) {
      err << "vantrose-print: there is no printer named \"" << options.printer << "\".\n";
      return 1;
    }
    printing.currentPrinter->SelectByName(options.printer);
  }

  AppState state;
  SetFolders(state, folders);
  std::string step = "reading the settings";
  try {
    LoadSettings(state, /*writeDefaults=*/false);
    if (options.mode) state.printMode = *options.mode;
    // PRINT takes the paper choices from the printer options' boxes, never from the settings.
    state.legalPaper = options.legal;
    state.duplexPrint = options.duplex;
    LoadJobNumber(state);

    step = "decoding the data file";
    if (const auto day = DecodeDeliveredDay(state); day && !day->warning.empty())
      err << "vantrose-print: warning: " << day->warning << "\n";
    if (!FileExists(DayTextPath(state))) {
      err << "vantrose-print: there is no day to print: neither " << FileNames::kDataFile << " nor "
          << FileNames::kDayText << " is in " << state.baseFolder << ".\n";
      return 1;
    }
    step = "splitting the day into pages";
    // The pages are joined back as closing the program does, so the day's text is
    // whole again however the print ended; missing pages are told either way.
    const auto rejoinAndTell = [&state, &err] {
      const RejoinNotice notice = RejoinReports(state.baseFolder, state.reportFiles);
      if (!notice.Empty()) err << "vantrose-print: warning: " << RejoinNoticeText(notice) << "\n";
    };
    ScopeGuard rejoin(rejoinAndTell);
    PageList list;
    // Printing needs no schedule, and this command writes none.
    SplitDayIntoPages(state, list, MissingSchedule::ReadsEmpty);

    step = "printing";
    if (!PreparePrintOfCheckedPages(state, list, LocalTimeNow(), err)) {
      err << "vantrose-print: no page is checked: the day holds no page of the listed kinds and tracks.\n";
      return 1;
    }
    const PrintOutcome outcome = PrintPrepared(state, printing, options.output);
    step = "joining the pages back into the day's text";
    rejoinAndTell();
    rejoin.Dismiss();
    if (!outcome.delivered) {
      err << "vantrose-print: the job did not reach the printer: " << outcome.reason << "\n";
      return 1;
    }
    out << "Printed job " << state.jobNumberText << " in mode " << PrintModeName(state.printMode) << " to "
        << (options.output.empty() ? "printer " + printing.currentPrinter->DeviceName() : options.output) << ".\n";
    return 0;
  } catch (const IoError& error) {
    err << "vantrose-print: " << error.what() << " while " << step << " in " << state.baseFolder << ".\n";
    return 1;
  }
}
