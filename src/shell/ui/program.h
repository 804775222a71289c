// The program's entry sequence: the working folder (made on the first start when
// the user agrees), the single-instance guard, the splash window, the main window
// (whose start-up steps run as it is created) and the four dialogs, then the
// message loop.
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
// The buttons of the first start's question about a missing working folder.
inline constexpr char kCreateFoldersButton[] = "Create";
inline constexpr char kQuitButton[] = "Quit";

// What the windows need from the system, replaceable by fakes in tests.
struct ProgramServices {
  ShowMessageFn showMessage;                  // the general error box and other message boxes
  AskQuestionFn askQuestion;                  // the first start's question about the working folder
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

// Runs the entry up to the message loop. A working folder whose path is too long for
// the system is refused first, with that error. When the working folder or one of its
// sub-folders is missing, it then asks once whether to make them: "Create" makes
// exactly those folders and the start goes on; "Quit" changes nothing. Returns nullptr
// when the program does not open: the path is too long, the user quit, a folder could
// not be made (its error shown), another instance holds the working folder (the
// second-instance message shown), or the lock in its Exec folder cannot be opened
// (that error shown). `exitStatus`, when given, is then the status to end with: 0 when
// the user quit or another instance runs, else 1.
std::unique_ptr<Program> StartProgram(ProgramServices& services, const WorkingFolders& folders,
                                      int* exitStatus = nullptr);

// The whole entry: start, run the message loop, and return the exit status.
int RunProgram(QApplication& application);
