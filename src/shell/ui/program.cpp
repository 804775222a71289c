#include "shell/ui/program.h"

#include <QApplication>

#include "browser/ui/edit_dialog.h"
#include "browser/ui/options_dialog.h"
#include "canvas/ui/simo_options_dialog.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/instance_guard.h"
#include "shell/ui/main_window.h"
#include "shell/ui/splash_window.h"

Program::Program() = default;
Program::~Program() = default;

ProgramServices SystemServices() {
  ProgramServices services;
  services.showMessage = SystemMessageBox();
  services.shortcut = MakeSystemDesktopShortcut();
  services.printing = SystemPrintingServices();
  return services;
}

std::unique_ptr<Program> StartProgram(ProgramServices& services, const WorkingFolders& folders) {
  auto program = std::make_unique<Program>();
  program->guard = std::make_unique<InstanceGuard>(folders.baseFolder);
  if (!program->guard->Acquire(kInstanceWait)) {
    services.showMessage(kSecondInstanceText);
    return nullptr;
  }

  TSplash splash;
  splash.show();
  splash.repaint();
  QApplication::processEvents();

  program->mainForm = std::make_unique<TMainForm>(folders, services.showMessage, *services.shortcut, services.printing);
  TMainForm* mainForm = program->mainForm.get();
  // The dialogs come after the main window, so no start-up step can use them.
  auto* optionsForm = new TOptionsForm(mainForm);
  auto* editForm = new TEditForm(mainForm);
  auto* printerXForm = new TPrinterXForm(mainForm, *services.printing.currentPrinter);
  auto* simoOpts = new TSimoOpts(mainForm, services.showMessage);
  mainForm->SetDialogs(optionsForm, editForm, printerXForm, simoOpts);

  splash.hide();
  mainForm->show();
  return program;
}

int RunProgram(QApplication& application) {
  ProgramServices services = SystemServices();
  const std::unique_ptr<Program> program = StartProgram(services, FoldersFromEnvironment());
  if (program) application.exec();
  return 0;
}
