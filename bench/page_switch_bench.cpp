// Times showing a page in the view: the click handler reading the page and the memo
// painting it, for the listed pages of a race day, offscreen.
//   vantrose_page_switch_bench DATA-FILE PROFILE-FOLDER
// Prints the median and the slowest switch in seconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "browser/ui/page_list_box.h"
#include "platform/system/printing_services.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"

namespace {
class NoShortcut final : public DesktopShortcut {
 public:
  void Make(const std::string&, const std::string&) override {}
};
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vantrose_page_switch_bench DATA-FILE PROFILE-FOLDER\n");
    return 2;
  }
  QApplication application(argc, argv);
  const std::string profile = std::string(argv[2]) + "/";
  const std::string base = profile + "RavelstowData/Vantrose/";
  for (const char* folder : {"Data", "Exec", "Help", "Archive"}) std::filesystem::create_directories(base + folder);
  std::filesystem::copy_file(argv[1], base + "Data/Vantrose.DAT", std::filesystem::copy_options::overwrite_existing);

  ProgramServices services;
  services.showMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  services.shortcut = std::make_unique<NoShortcut>();
  services.printing = SystemPrintingServices();
  auto program = StartProgram(services, {profile, base});
  if (!program) return 1;
  TMainForm& form = *program->mainForm;
  QApplication::processEvents();

  std::vector<double> seconds;
  for (int index = 0; index < static_cast<int>(form.Pages().items.size()); ++index) {
    if (form.Pages().items[static_cast<std::size_t>(index)].text.empty()) continue;
    QElapsedTimer timer;
    timer.start();
    emit form.ReportListBox->ItemClicked(index);
    form.MainMemo->viewport()->repaint();
    seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
  }
  if (seconds.empty()) return 1;
  std::sort(seconds.begin(), seconds.end());
  std::printf("%.6f %.6f %zu\n", seconds[seconds.size() / 2], seconds.back(), seconds.size());
  program->mainForm->close();
  return 0;
}
