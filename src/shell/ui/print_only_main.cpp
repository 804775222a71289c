// vantrose-print: prints the day's checked pages without a window.
#include <QGuiApplication>
#include <iostream>

#include "platform/system/printing_services.h"
#include "shell/ui/print_only.h"

int main(int argc, char* argv[]) {
  // Printing needs a GUI application for its fonts, but no display: without one,
  // draw offscreen.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  PrintingServices printing = SystemPrintingServices();
  return RunPrintOnly(arguments, FoldersFromEnvironment(), printing, std::cout, std::cerr);
}
