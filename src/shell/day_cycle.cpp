#include "shell/day_cycle.h"

#include "base/file_layer.h"
#include "base/settings.h"
#include "base/working_folders.h"
#include "import/page_index.h"
#include "import/race_data.h"
#include "import/report_split.h"
#include "pcl/print_commands.h"

void SetFolders(AppState& state, const WorkingFolders& folders) {
  state.homeFolder = folders.homeFolder;
  state.baseFolder = folders.baseFolder;
}

void LoadJobNumber(AppState& state) {
  state.jobNumber = ReadJobNumber(OwnFilePath(state.baseFolder, kJobNumberFileName));
  state.jobNumberText = JobNumberText(state.jobNumber);
}

std::string SettingsPath(const AppState& state) { return ResolvePath(state.baseFolder, FileNames::kSettings); }

std::string DayTextPath(const AppState& state) { return OwnFilePath(state.baseFolder, FileNames::kDayText); }

bool LoadSettings(AppState& state, bool writeDefaults) {
  const std::string path = SettingsPath(state);
  const bool exists = FileExists(path);
  if (exists) {
    ReadSettings(path, state.settings);
  } else if (writeDefaults) {
    WriteSettings(path, state.settings);
  }
  DerivePrintState(state);
  return exists;
}

std::optional<DeliveredDay> DecodeDeliveredDay(AppState& state) {
  const std::string dataPath = ResolvePath(state.baseFolder, FileNames::kDataFile);
  if (!FileExists(dataPath)) return std::nullopt;
  state.userIdText = ReadUserIdText(state.baseFolder);
  const DecodedDay day = DecodeRaceData(dataPath, DayTextPath(state), state.userIdText);
  return DeliveredDay{day.raceDay, day.Truncated() ? TruncatedDayText(day, dataPath) : std::string()};
}

void SplitDayIntoPages(AppState& state, PageList& list, MissingSchedule missingSchedule) {
  if (FileExists(DayTextPath(state))) {
    SplitReports(state.baseFolder, state.simoTable, state.reportFiles, missingSchedule);
    state.applyPerfLimit = true;
    RefillPageList(state, list);
  }
  SetDefaultChecks(list);
}

void RefillPageList(AppState& state, PageList& list) {
  const PageChoice choice{state.settings.reportLetters, state.settings.trackLetters, state.applyPerfLimit,
                          state.settings.maxPerfLines};
  BuildPageList(state.baseFolder, state.reportFiles, choice, list);
}

bool PreparePrintOfCheckedPages(AppState& state, const PageList& list, const std::tm& now, std::ostream& notes) {
  const CheckedPages checked = CheckedPagesOf(list, state.baseFolder);
  state.anyPageChecked = checked.anyChecked;
  if (!state.anyPageChecked) return false;
  state.jobNumber = NextJobNumber(state.jobNumber);
  state.jobNumberText = JobNumberText(state.jobNumber);
  const std::string jobNumberPath = OwnFilePath(state.baseFolder, kJobNumberFileName);
  try {
    WriteJobNumber(jobNumberPath, state.jobNumber);
  } catch (const IoError& error) {
    // Only the numbering of a later run suffers; the paper must not.
    notes << "Vantrose: job number " << state.jobNumberText << " was not kept in " << jobNumberPath << " ("
          << error.what() << "); printing goes on.\n";
  }
  const PrintStamp stamp = MakePrintStamp(now, state.jobNumberText);
  WritePrintFile(OwnFilePath(state.baseFolder, kPrintFileName), checked.paths, &stamp);
  return true;
}
