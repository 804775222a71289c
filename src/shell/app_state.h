// The state the main window and its commands share for the whole run: paths,
// settings, print state, report tables and the file shown in the view. One
// object, owned by the main window and passed explicitly. No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"
#include "import/report_split.h"
#include "pcl/print_commands.h"

inline constexpr std::string_view kBuildStamp = "1468363032";

struct AppState {
  // Paths.
  std::string exePath = "Vantrose.EXE";  // the running program file
  std::string homeFolder;
  std::string baseFolder;

  // The settings record and what start-up derives from it.
  Settings settings;
  int printMode = 0;  // row of PrintModeNames
  bool legalPaper = false;
  bool duplexPrint = false;
  bool applyPerfLimit = true;

  // Report tables.
  ReportTable reportFiles;  // the report page files of the last split, in text order
  SimoTable simoTable;      // lines of the simulcast schedule

  std::string viewFileName;  // full path of the file the view shows
  std::string userIdText = "0000";

  // Simulcast schedule options while the program runs.
  std::uint16_t simoOptimumLines = 32;
  std::uint16_t simoMaximumLines = 64;
  bool simoTwoUp = false;

  bool anyPageChecked = false;
  std::uint16_t jobNumber = 0;
  std::string jobNumberText = "0000";
};

// Sets PrintMode, LegalPaper and DuplexPrint from the settings' PrintSettings word.
void DerivePrintState(AppState& state);

// The main window's caption: the program path, eight blanks, "Build :  " and the build stamp.
std::string MainCaption(const std::string& exePath);
