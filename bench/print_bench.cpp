// Benchmark driver for the PCL print path that scripts/bench times.
//   vantrose_print_bench make-print DATA FOLDER   decodes DATA in FOLDER (a working folder),
//                                                 splits it, lists the pages with the default
//                                                 choices and checks, and writes the checked
//                                                 pages to FOLDER/Vantrose.PRN
//   vantrose_print_bench pcl PRINT JOB LETTER     builds the PCL job for PRINT into JOB
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "base/settings.h"
#include "base/working_folders.h"
#include "browser/page_list.h"
#include "import/page_index.h"
#include "import/race_data.h"
#include "import/report_split.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"

namespace {

int MakePrintFile(const std::string& dataPath, std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  ExtractResource("Z", OwnFilePath(folder, FileNames::kSchedule));  // the schedule the split loads
  DecodeRaceData(dataPath, OwnFilePath(folder, FileNames::kDayText), "0000");

  SimoTable simoTable;
  ReportTable reports;
  SplitReports(folder, simoTable, reports);
  const Settings settings;
  const PageChoice choice{settings.reportLetters, settings.trackLetters, true, settings.maxPerfLines};
  PageList list;
  BuildPageList(folder, reports, choice, list);

  std::vector<std::string> pagePaths;
  for (std::size_t i = 0; i < list.items.size(); ++i)
    if (list.items[i].checked)
      if (const auto path = ItemPath(list, static_cast<int>(i), folder)) pagePaths.push_back(*path);
  WritePrintFile(OwnFilePath(folder, kPrintFileName), pagePaths, nullptr);
  std::printf("%zu pages checked of %zu listed\n", pagePaths.size(), list.items.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::strcmp(argv[1], "make-print") == 0) return MakePrintFile(argv[2], argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "pcl") == 0 && std::strlen(argv[4]) == 1) {
      BuildPclJob(argv[2], argv[3], argv[4][0], false, false);
      return 0;
    }
  } catch (const IoError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  std::fprintf(stderr, "usage: vantrose_print_bench make-print DATA FOLDER | pcl PRINT JOB LETTER\n");
  return 2;
}
