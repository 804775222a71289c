// Program entry: one instance per working folder, then the main window.
#include <QApplication>

#include "shell/ui/program.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrose"));
  QApplication::setQuitOnLastWindowClosed(true);
  return RunProgram(application);
}
