// The start-up pipeline without a window, for scripts/bench: the core steps the
// main window's start-up runs, in the same order, on a working folder.
//   vantrose_startup_bench BASE-FOLDER
// BASE-FOLDER (ending with "/") holds Data/Vantrose.DAT and the folders Exec and
// Help. Settings, installed files, decoding into Vantrose.TXT, splitting into page
// and twin files, the page list with the E pages trimmed, the default check marks,
// and item 0's page read for the view. Prints the number of listed items.
#include <cstdio>
#include <string>

#include "base/file_layer.h"
#include "base/settings.h"
#include "base/working_folders.h"
#include "browser/page_list.h"
#include "import/page_index.h"
#include "import/race_data.h"
#include "import/report_split.h"

namespace {

int RunStartUp(const std::string& baseFolder) {
  Settings settings;
  const std::string settingsPath = ResolvePath(baseFolder, FileNames::kSettings);
  if (FileExists(settingsPath)) {
    ReadSettings(settingsPath, settings);
  } else {
    WriteSettings(settingsPath, settings);
  }
  InstallFiles(baseFolder);

  const std::string dayTextPath = OwnFilePath(baseFolder, FileNames::kDayText);
  const std::string dataPath = ResolvePath(baseFolder, FileNames::kDataFile);
  if (FileExists(dataPath)) DecodeRaceData(dataPath, dayTextPath, ReadUserIdText(baseFolder));

  SimoTable simoTable;
  ReportTable reportFiles;
  PageList pages;
  if (FileExists(dayTextPath)) {
    SplitReports(baseFolder, simoTable, reportFiles);
    const PageChoice choice{settings.reportLetters, settings.trackLetters, true, settings.maxPerfLines};
    BuildPageList(baseFolder, reportFiles, choice, pages);
  }
  SetDefaultChecks(pages);

  std::string viewFileName;
  std::size_t shownBytes = 0;
  if (const auto first = ItemPath(pages, 0, baseFolder))
    if (const auto text = LoadViewText(*first, viewFileName)) shownBytes = text->size();
  std::printf("%zu reports, %zu items, first page %zu bytes\n", reportFiles.files.size(), pages.items.size(),
              shownBytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantrose_startup_bench BASE-FOLDER\n");
    return 2;
  }
  try {
    return RunStartUp(argv[1]);
  } catch (const IoError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
