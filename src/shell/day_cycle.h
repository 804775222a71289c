// The steps that bring the day's pages up and take them down again, shared by
// the main window's start-up and close and by the print-only command: settings,
// decoding, splitting with the page list, preparing a print job, rejoining.
// No Qt, no windows.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/working_folders.h"
#include "browser/page_list.h"
#include "import/report_split.h"
#include "shell/app_state.h"

// Sets the state's profile and working folders for a run on `folders`.
void SetFolders(AppState& state, const WorkingFolders& folders);

// Takes up the job number kept by the last run (0 without one) and its text.
void LoadJobNumber(AppState& state);

// The settings file's path for the state's working folder.
std::string SettingsPath(const AppState& state);
// The day's text file's path.
std::string DayTextPath(const AppState& state);

// Reads the settings when the file exists and derives the print state. When it does
// not exist and `writeDefaults` is set, writes the defaults. Returns whether the file existed.
bool LoadSettings(AppState& state, bool writeDefaults);

// The day decoded from the delivered data file.
struct DeliveredDay {
  std::uint16_t raceDay = 0;
  std::string warning;  // for the user when the data file was cut short; empty otherwise
};

// Decodes the delivered data file, when there is one, into the day's text, with the
// installation's user id. Returns the race day and any warning, or nothing without a
// data file. A data file shorter than its header says is decoded as far as it goes
// and gives a warning; the day goes on with what was decoded.
std::optional<DeliveredDay> DecodeDeliveredDay(AppState& state);

// Splits the day's text, when it exists, into page files and builds the page list with
// the E pages trimmed; then sets the default check marks (also of an empty list).
void SplitDayIntoPages(AppState& state, PageList& list, MissingSchedule missingSchedule = MissingSchedule::Fails);

// Rebuilds the page list from the last split with the current settings and
// state.applyPerfLimit. An IoError leaves the list empty.
void RefillPageList(AppState& state, PageList& list);

// The first steps of PRINT: when a page is checked, raises and keeps the job number
// and writes the print file of the checked pages with the stamp of `now`. Returns
// false (and writes nothing) when no page is checked. A job number that cannot be
// kept in "Exec/Vantrose.JOB" never stops the print: the number goes on in memory and
// the failure is written to `notes` (standard error), not shown.
bool PreparePrintOfCheckedPages(AppState& state, const PageList& list, const std::tm& now, std::ostream& notes);
