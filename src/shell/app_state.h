// The state the main window and its commands share for the whole run: paths,
// settings, print state, report tables and the file shown in the view. One
// object, owned by the main window and passed explicitly. No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/report_split.h"
#include "shell/settings.h"

inline constexpr std::string_view kBuildStamp = "1468363032";

// Captions of the eight print modes, each exactly 29 characters.
inline constexpr std::array<std::string_view, 8> PrintModeNames = {
    "     WIN Portrait 9pt         ", "     WIN  *reserved*          ", "     WIN Portrait 7pt         ",
    "     WIN Landscape 7pt        ", "     PCL Portrait 10pt        ", "     PCL  *reserved*          ",
    "     PCL Portrait 6pt         ", "     PCL Landscape 6pt        ",
};

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
  ReportTable reportFiles;             // the report page files of the last split, in text order
  std::vector<std::string> simoTable;  // lines of the simulcast schedule

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

// `number` as four decimal digits with leading zeros.
std::string JobNumberText(std::uint16_t number);

// The main window's caption: the program path, eight blanks, "Build :  " and the build stamp.
std::string MainCaption(const std::string& exePath);
