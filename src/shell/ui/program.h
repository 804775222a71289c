// The program's entry sequence: the single-instance guard, the splash window,
// the main window (whose start-up steps run as it is created) and the four
// dialogs, then the message loop.
#pragma once

#include <memory>

#include "base/working_folders.h"
#include "platform/desktop_shortcut.h"
#include "platform/message_box.h"
#include "platform/system/printing_services.h"

class QApplication;
class TMainForm;
class TOptionsForm;
class TEditForm;
class TPrinterXForm;
class TSimoOpts;

inline constexpr char kSecondInstanceText[] = "Whoa!  Only one instance of Vantrose.EXE at a time.";

// What the windows need from the system, replaceable by fakes in tests.
struct ProgramServices {
  ShowMessageFn showMessage;                  // the general error box and other message boxes
  std::unique_ptr<DesktopShortcut> shortcut;  // MakeDesktopShortcut
  PrintingServices printing;                  // printers, the current printer, the spooler
};

// The real services of this system.
ProgramServices SystemServices();

class InstanceGuard;

// The running program's windows. Destroying it closes them.
struct Program {
  Program();
  ~Program();
  std::unique_ptr<InstanceGuard> guard;
  std::unique_ptr<TMainForm> mainForm;
};

// Runs the entry up to the message loop: returns nullptr after showing the
// second-instance message when another instance holds the working folder.
std::unique_ptr<Program> StartProgram(ProgramServices& services, const WorkingFolders& folders);

// The whole entry: start, run the message loop, and return the exit status (0).
int RunProgram(QApplication& application);
