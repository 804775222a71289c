// The main window: the page list and view on the left and right, the print
// controls below the list, and the main menu. It owns the shared state of the
// run; its creation runs the start-up steps (DirtyUp) and its close the
// closing steps (CleanUp). Handlers read controls, call the core, show results;
// the handlers of each subsystem's commands are in main_window_*.cpp beside this file.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <functional>

#include "base/working_folders.h"
#include "browser/page_list.h"
#include "pcl/print_commands.h"
#include "platform/message_box.h"
#include "shell/app_state.h"

class DesktopShortcut;
struct PrintingServices;
class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class PageListBox;
class UpDown;
class TOptionsForm;
class TEditForm;
class TPrinterXForm;
class TSimoOpts;

// The line the view shows until the first page: ten cells of "+" and seven "-".
inline constexpr char kRulerLine[] = "+-------+-------+-------+-------+-------+-------+-------+-------+-------+-------";

inline constexpr char kShortcutTitle[] = "Ravelstow VANTROSE";

class TMainForm final : public QMainWindow {
  Q_OBJECT
 public:
  // Creates the window and runs DirtyUp. `folders` are the working folders of this run.
  TMainForm(const WorkingFolders& folders, const ShowMessageFn& showMessage, DesktopShortcut& shortcut,
            PrintingServices& printing);
  ~TMainForm() override;

  // Hands over the dialogs created after the main window.
  void SetDialogs(TOptionsForm* options, TEditForm* edit, TPrinterXForm* printerX, TSimoOpts* simo);

  const AppState& State() const { return m_state; }

  // Shows a dialog modally and returns its result. Tests replace it to drive dialogs
  // without a modal loop.
  std::function<int(QDialog&)> RunModal = [](QDialog& dialog) { return dialog.exec(); };
  // Asks for one line of text with a caption, a prompt and an empty field; returns the
  // answer, empty when cancelled. Unset, the window system's input dialog asks; tests set it.
  std::function<QString(const QString& caption, const QString& prompt)> InputBox;
  const PageList& Pages() const { return m_pageList; }

  // Components, named as in the window definitions.
  QLabel* RaceDate = nullptr;
  PageListBox* ReportListBox = nullptr;
  QPlainTextEdit* MainMemo = nullptr;
  QPushButton* checkALL = nullptr;
  QPushButton* clearALL = nullptr;
  QPushButton* PrintButton = nullptr;
  QLabel* PrintCounter = nullptr;
  QLabel* SpinFont = nullptr;
  UpDown* FontSelect = nullptr;
  QFrame* PrintBevel = nullptr;
  QPushButton* PrintSimo = nullptr;
  QPushButton* options = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* LoadButton = nullptr;
  QListWidget* ListBox1 = nullptr;

  QMenu* FileMenu = nullptr;
  QAction* FileMenuSave = nullptr;
  QAction* FileMenuLoad = nullptr;
  QAction* MenuEdit = nullptr;
  QAction* OptionsMenu = nullptr;
  QMenu* N1 = nullptr;
  QAction* AReport = nullptr;
  QAction* EReport = nullptr;
  QAction* test1 = nullptr;
  QAction* PrintPreviewMenu = nullptr;  // "Print Pre&view", F2

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void CreateMenu();
  void ConnectCommands();
  void DirtyUp();
  void CleanUp();
  void ListBox1MouseDown();
  void ListBox1MouseUp();

  // Commands of the browser: options, scratch editor, help, archive (main_window_browser.cpp).
  void OptionsMenuClick();
  void MenuEditClick();
  void WTFClick();
  void WTFClickA();
  void WTFClickE();
  void SaveButtonClick();
  void LoadButtonClick();
  QString AskInput(const QString& caption, const QString& prompt);

  // Print commands (main_window_print.cpp).
  PrintOutcome PrintCurrentWorkFile();
  void PrintButtonClick();
  void Quickie();
  void FontSelectClick();
  void SpinFontDblClick();
  // Shows the current print mode's caption on SpinFont.
  void ShowPrintMode();

  // The print preview (main_window_preview.cpp).
  void PrintPreviewClick();

  // The simulcast schedule (main_window_simo.cpp).
  void PrintSimoClick();
  void optionsClick();

  // The page list and the view.
  void RebuildPageList();
  void ShowPageList();
  void ShowView(const std::string& path);
  void ReportBoxClick(int index);
  void ReportListBoxKeyPress();
  void CheckAllClick();
  void ClearAllClick();

  AppState m_state;
  PageList m_pageList;   // what ReportListBox shows
  JumpPositions m_jump;  // PrevItemIndex and LastItemIndex of the Backspace jump
  WorkingFolders m_folders;
  ShowMessageFn m_showMessage;
  DesktopShortcut& m_shortcut;
  PrintingServices& m_printing;

  TOptionsForm* m_optionsForm = nullptr;
  TEditForm* m_editForm = nullptr;
  TPrinterXForm* m_printerXForm = nullptr;
  TSimoOpts* m_simoOpts = nullptr;
};
