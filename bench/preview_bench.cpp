// Benchmark driver for the print preview that scripts/bench times: splits a day into
// a working folder, checks its first pages, and opens the print preview of them the
// way the main window does (the job built, the sheets drawn, the dialog shown and
// painted once). Runs offscreen (QT_QPA_PLATFORM=offscreen) or on a display.
//   vantrose_preview_bench DATA FOLDER MODE PAGES [RUNS]
//       prints the mean seconds of RUNS openings (default 5)
//   vantrose_preview_bench DATA FOLDER MODE PAGES --hold SECONDS
//       opens the preview once and keeps it on the screen for SECONDS (screenshots)
#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/file_layer.h"
#include "base/settings.h"
#include "base/working_folders.h"
#include "browser/page_list.h"
#include "import/page_index.h"
#include "import/race_data.h"
#include "import/report_split.h"
#include "pcl/print_commands.h"
#include "pcl/print_preview.h"
#include "pcl/ui/print_preview_window.h"

namespace {

// Splits DATA into `folder` and checks its first `pageCount` pages (fillers stay unchecked).
PageList PrepareFolder(const std::string& dataPath, const std::string& folder, int pageCount) {
  ExtractResource("Z", OwnFilePath(folder, FileNames::kSchedule));
  DecodeRaceData(dataPath, OwnFilePath(folder, FileNames::kDayText), "0000");
  SimoTable simoTable;
  ReportTable reports;
  SplitReports(folder, simoTable, reports);
  const Settings settings;
  const PageChoice choice{"AXEB", settings.trackLetters, true, settings.maxPerfLines};
  PageList list;
  BuildPageList(folder, reports, choice, list);
  int checked = 0;
  for (PageItem& item : list.items) {
    item.checked = !item.text.empty() && checked < pageCount;
    checked += item.checked ? 1 : 0;
  }
  if (checked < pageCount) std::fprintf(stderr, "only %d pages in the day\n", checked);
  return list;
}

// Opens the preview as the main window does and returns it shown and painted.
std::unique_ptr<TPrintPreviewForm> OpenPreview(const PageList& list, const std::string& folder, int mode,
                                               const QPrinter& printer) {
  PrintPreviewRequest request;
  request.baseFolder = folder;
  request.printMode = mode;
  auto job = BuildPrintPreview(list, request, LocalTimeNow());
  auto preview = std::make_unique<TPrintPreviewForm>(nullptr, std::move(*job), printer);
  preview->show();
  QApplication::processEvents();
  return preview;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: vantrose_preview_bench DATA FOLDER MODE PAGES [RUNS | --hold SECONDS]\n");
    return 2;
  }
  std::string folder = argv[2];
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  const int mode = std::atoi(argv[3]) & 7;
  const int pageCount = std::atoi(argv[4]);
  const bool hold = argc == 7 && std::strcmp(argv[5], "--hold") == 0;
  const int runs = !hold && argc >= 6 ? std::max(1, std::atoi(argv[5])) : 5;
  int argumentCount = 1;
  QApplication application(argumentCount, argv);
  try {
    const PageList list = PrepareFolder(argv[1], folder, pageCount);
    QPrinter printer(QPrinter::HighResolution);
    if (hold) {
      auto preview = OpenPreview(list, folder, mode, printer);
      std::fprintf(stderr, "%d sheets\n", preview->SheetCount());
      QTimer::singleShot(std::atoi(argv[6]) * 1000, &application, &QApplication::quit);
      return QApplication::exec();
    }
    OpenPreview(list, folder, mode, printer);  // warm-up: fonts and page files in the cache
    double total = 0;
    int sheets = 0;
    for (int run = 0; run < runs; ++run) {
      QElapsedTimer timer;
      timer.start();
      auto preview = OpenPreview(list, folder, mode, printer);
      total += static_cast<double>(timer.nsecsElapsed()) / 1e9;
      sheets = preview->SheetCount();
    }
    std::fprintf(stderr, "%d sheets\n", sheets);
    std::printf("%.4f\n", total / runs);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
