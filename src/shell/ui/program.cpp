#include "shell/ui/program.h"

#include <QApplication>

#include "base/file_layer.h"
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
  services.askQuestion = SystemQuestionBox();
  services.shortcut = MakeSystemDesktopShortcut();
  services.printing = SystemPrintingServices();
  return services;
}

namespace {

// The installation provides the working folder and its sub-folders. Where none did (a
// package or a plain copy of the program on Linux), the first start stands in for it,
// when the user agrees. False when the start ends here; `exitStatus` is 1 when a folder
// could not be made (its error shown).
bool ProvideWorkingFolder(ProgramServices& services, const WorkingFolders& folders, int& exitStatus) {
  std::vector<std::string> missing;
  // A path the system refuses is told before anything is made or locked below it.
  if (!RunCommand(services.showMessage, [&] {
        CheckFolderPath(folders.baseFolder);
        missing = MissingFolders(folders);
      })) {
    exitStatus = 1;
    return false;
  }
  if (missing.empty()) return true;
  if (!services.askQuestion(MakeFoldersQuestion(folders, missing), kCreateFoldersButton, kQuitButton)) return false;
  if (RunCommand(services.showMessage, [&] { MakeFolders(missing); })) return true;
  exitStatus = 1;
  return false;
}

}  // namespace

std::unique_ptr<Program> StartProgram(ProgramServices& services, const WorkingFolders& folders, int* exitStatus) {
  int unused = 0;
  int& status = exitStatus != nullptr ? *exitStatus : unused;
  status = 0;
  // Before the instance guard, whose lock belongs to the working folder.
  if (!ProvideWorkingFolder(services, folders, status)) return nullptr;

  auto program = std::make_unique<Program>();
  program->guard = std::make_unique<InstanceGuard>(folders.baseFolder);
  try {
    if (!program->guard->Acquire(kInstanceWait)) {
      services.showMessage(kSecondInstanceText);
      return nullptr;
    }
  } catch (const IoError& error) {
    // Without the lock no start-up step may run: another instance could be working there.
    services.showMessage(error.what());
    status = 1;
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
  int exitStatus = 0;
  const std::unique_ptr<Program> program = StartProgram(services, FoldersFromEnvironment(), &exitStatus);
  if (program) application.exec();
  return exitStatus;
}
