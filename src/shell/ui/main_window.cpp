#include "shell/ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "base/file_layer.h"
#include "base/settings.h"
#include "browser/ui/page_list_box.h"
#include "import/page_index.h"
#include "import/race_data.h"
#include "import/report_split.h"
#include "platform/desktop_shortcut.h"
#include "platform/system/fonts.h"
#include "platform/system/place.h"
#include "platform/system/up_down.h"
#include "shell/day_cycle.h"

namespace {

constexpr int kClientWidth = 984;
constexpr int kClientHeight = 542;
constexpr int kSpacerCount = 12;
constexpr int kTrailingSpacerCount = 4;

QString FromBytes(const std::string& text) { return QString::fromLocal8Bit(text); }

std::vector<bool> CheckMarksOf(const PageList& list) {
  std::vector<bool> marks;
  for (const PageItem& item : list.items) marks.push_back(item.checked);
  return marks;
}

}  // namespace

TMainForm::TMainForm(const WorkingFolders& folders, const ShowMessageFn& showMessage, DesktopShortcut& shortcut,
                     PrintingServices& printing)
    : m_folders(folders), m_showMessage(showMessage), m_shortcut(shortcut), m_printing(printing) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Vantrose.EXE"));
  // A single fixed border with the system menu and the minimise box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  CreateComponents();
  CreateMenu();
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  // Centred on the screen; on a screen too small for it, its menu and page list stay visible.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(PlaceOnScreen(screen->availableGeometry(), frameGeometry().size()));
  DirtyUp();
}

TMainForm::~TMainForm() = default;

void TMainForm::SetDialogs(TOptionsForm* optionsForm, TEditForm* edit, TPrinterXForm* printerX, TSimoOpts* simo) {
  m_optionsForm = optionsForm;
  m_editForm = edit;
  m_printerXForm = printerX;
  m_simoOpts = simo;
}

void TMainForm::CreateComponents() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  RaceDate = Place(new QLabel(QStringLiteral("Race Date"), client), "RaceDate", 0, 0, 270, 30);
  RaceDate->setAlignment(Qt::AlignCenter);
  RaceDate->setFont(WindowFont("Lucida Console", 21, FontWeight::Bold));
  RaceDate->setStyleSheet(QStringLiteral("color: black;"));

  ReportListBox = Place(new PageListBox(client), "ReportListBox", 0, 30, 270, 300);
  ReportListBox->setFont(WindowFont("Courier New", 16, FontWeight::Bold));
  QPalette listPalette = ReportListBox->palette();
  listPalette.setColor(QPalette::Text, QColor(0, 0, 128));  // navy
  ReportListBox->setPalette(listPalette);
  connect(ReportListBox, &PageListBox::ItemClicked, this,
          [this](int index) { RunCommand(m_showMessage, [this, index] { ReportBoxClick(index); }); });
  connect(ReportListBox, &PageListBox::BackspacePressed, this,
          [this] { RunCommand(m_showMessage, [this] { ReportListBoxKeyPress(); }); });
  connect(ReportListBox, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    const int index = ReportListBox->row(item);
    if (index >= 0 && index < static_cast<int>(m_pageList.items.size()))
      m_pageList.items[static_cast<std::size_t>(index)].checked = item->checkState() == Qt::Checked;
  });
  connect(ReportListBox, &QListWidget::currentRowChanged, this, [this](int row) { m_pageList.selected = row; });

  checkALL = Place(new QPushButton(QStringLiteral("Chec&k ALL"), client), "checkALL", 0, 332, 90, 30);
  clearALL = Place(new QPushButton(QStringLiteral("Clea&r ALL"), client), "clearALL", 90, 332, 90, 30);
  for (QPushButton* button : {checkALL, clearALL}) button->setFont(WindowFont("Lucida Sans", 15, FontWeight::Bold));
  connect(checkALL, &QPushButton::clicked, this, [this] { CheckAllClick(); });
  connect(clearALL, &QPushButton::clicked, this, [this] { ClearAllClick(); });

  // The window definitions make the memo 545 high, 3 more than the client area: the
  // bottom of its frame and of its sideways scroll bar would be cut off.
  MainMemo = Place(new QPlainTextEdit(client), "MainMemo", 270, 0, 666, kClientHeight);
  MainMemo->setReadOnly(true);
  MainMemo->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  MainMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  MainMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  MainMemo->setFont(WindowFont("Terminal", 12));
  QPalette memoPalette = MainMemo->palette();
  memoPalette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Window));  // the menu colour
  memoPalette.setColor(QPalette::Text, Qt::black);
  MainMemo->setPalette(memoPalette);
  MainMemo->setPlainText(QString::fromLatin1(kRulerLine));

  // The hidden archive buttons; the archive menu items run the same commands.
  SaveButton = Place(new QPushButton(QStringLiteral("&SAVE"), client), "SaveButton", 181, 332, 90, 30);
  LoadButton = Place(new QPushButton(QStringLiteral("&LOAD"), client), "LoadButton", 181, 362, 90, 30);
  SaveButton->hide();
  LoadButton->hide();

  ListBox1 = Place(new QListWidget(client), "ListBox1", 181, 332, 90, 90);
  ListBox1->viewport()->installEventFilter(this);

  PrintButton = Place(new QPushButton(QStringLiteral("&PRINT"), client), "PrintButton", 0, 364, 180, 62);
  PrintButton->setFont(WindowFont("Lucida Sans", 23, FontWeight::Bold));

  // Lies over the lower part of PrintButton, so it is created after it.
  PrintCounter = Place(new QLabel(QStringLiteral("9999"), client), "PrintCounter", 69, 410, 42, 9);
  PrintCounter->setFont(WindowFont("Small Fonts", 9, FontWeight::Bold));
  PrintCounter->setAlignment(Qt::AlignCenter);
  PrintCounter->setStyleSheet(QStringLiteral("color: grey;"));
  PrintCounter->setAttribute(Qt::WA_TransparentForMouseEvents);

  SpinFont = Place(new QLabel(client), "SpinFont", 0, 429, 169, 18);
  SpinFont->setFont(WindowFont("Lucida Sans", 15, FontWeight::Bold));
  SpinFont->setToolTip(QStringLiteral("CLICK for  More Options"));
  SpinFont->installEventFilter(this);  // a click and a double click both open the printer options

  FontSelect = Place(new UpDown(client), "FontSelect", 164, 428, 16, 20);
  FontSelect->SetRange(0, 7);
  FontSelect->SetWrap(true);

  PrintBevel = Place(new QFrame(client), "PrintBevel", 0, 449, 272, 1);
  PrintBevel->setFrameShape(QFrame::HLine);
  PrintBevel->setFrameShadow(QFrame::Raised);

  PrintSimo = Place(new QPushButton(QStringLiteral("Print Simo Schedule"), client), "PrintSimo", 30, 485, 210, 30);
  PrintSimo->setFont(WindowFont("Lucida Sans Unicode", 16, FontWeight::Bold));
  options = Place(new QPushButton(QStringLiteral("line spacing options"), client), "options", 30, 515, 210, 20);
  options->setFont(WindowFont("Lucida Console", 13));

  // Tab order: the list, then the two buttons under it.
  setTabOrder(ReportListBox, checkALL);
  setTabOrder(checkALL, clearALL);
}

void TMainForm::CreateMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  auto addSpacers = [bar](int count) {
    for (int i = 0; i < count; ++i) {
      QAction* spacer = bar->addAction(QStringLiteral(" "));
      spacer->setEnabled(false);
    }
  };

  FileMenu = bar->addMenu(QStringLiteral("&Archive"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  FileMenuSave = FileMenu->addAction(QStringLiteral("&Save"));
  FileMenuSave->setObjectName(QStringLiteral("FileMenuSave"));
  FileMenuLoad = FileMenu->addAction(QStringLiteral("&Load"));
  FileMenuLoad->setObjectName(QStringLiteral("FileMenuLoad"));
  MenuEdit = bar->addAction(QStringLiteral("&ScratchX"));
  MenuEdit->setObjectName(QStringLiteral("MenuEdit"));
  OptionsMenu = bar->addAction(QStringLiteral("&Options"));
  OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
  addSpacers(kSpacerCount);
  N1 = bar->addMenu(QStringLiteral("?"));
  N1->setObjectName(QStringLiteral("N1"));
  AReport = N1->addAction(QStringLiteral("A-Report"));
  AReport->setObjectName(QStringLiteral("AReport"));
  EReport = N1->addAction(QStringLiteral("E-Report"));
  EReport->setObjectName(QStringLiteral("EReport"));
  addSpacers(kSpacerCount);
  test1 = bar->addAction(QStringLiteral("PRINT Current View  Only"));
  test1->setObjectName(QStringLiteral("test1"));
  addSpacers(kTrailingSpacerCount);
  PrintPreviewMenu = bar->addAction(QStringLiteral("Print Pre&view"));
  PrintPreviewMenu->setObjectName(QStringLiteral("PrintPreviewMenu"));
  PrintPreviewMenu->setShortcut(QKeySequence(Qt::Key_F2));

  ConnectCommands();
}

// Every command runs through RunCommand: a failure ends it and shows its text.
void TMainForm::ConnectCommands() {
  const auto command = [this](void (TMainForm::*handler)()) {
    return [this, handler] { RunCommand(m_showMessage, [this, handler] { (this->*handler)(); }); };
  };
  connect(FileMenuSave, &QAction::triggered, this, command(&TMainForm::SaveButtonClick));
  connect(FileMenuLoad, &QAction::triggered, this, command(&TMainForm::LoadButtonClick));
  connect(SaveButton, &QPushButton::clicked, this, command(&TMainForm::SaveButtonClick));
  connect(LoadButton, &QPushButton::clicked, this, command(&TMainForm::LoadButtonClick));
  connect(MenuEdit, &QAction::triggered, this, command(&TMainForm::MenuEditClick));
  connect(OptionsMenu, &QAction::triggered, this, command(&TMainForm::OptionsMenuClick));
  // Opening the "?" menu shows the general help page, as a click on the item would.
  connect(N1, &QMenu::aboutToShow, this, command(&TMainForm::WTFClick));
  connect(AReport, &QAction::triggered, this, command(&TMainForm::WTFClickA));
  connect(EReport, &QAction::triggered, this, command(&TMainForm::WTFClickE));
  connect(test1, &QAction::triggered, this, command(&TMainForm::Quickie));
  connect(PrintPreviewMenu, &QAction::triggered, this, command(&TMainForm::PrintPreviewClick));
  connect(PrintButton, &QPushButton::clicked, this, command(&TMainForm::PrintButtonClick));
  connect(FontSelect, &UpDown::Clicked, this, command(&TMainForm::FontSelectClick));
  connect(PrintSimo, &QPushButton::clicked, this, command(&TMainForm::PrintSimoClick));
  connect(options, &QPushButton::clicked, this, command(&TMainForm::optionsClick));
}

void TMainForm::DirtyUp() {
  // A failing step ends the list; the window opens with the state reached so far.
  RunCommand(m_showMessage, [this] {
    // Kept whole: the desktop shortcut starts this file, and a cut path names no file.
    m_state.exePath = QCoreApplication::applicationFilePath().toStdString();
    setWindowTitle(FromBytes(MainCaption(m_state.exePath)));

    SetFolders(m_state, m_folders);

    RemoveObsoleteFiles(m_state.homeFolder, ObsoleteFiles());

    LoadSettings(m_state, /*writeDefaults=*/true);

    // The shortcut starts the installed program file when there is one, else this program.
    const std::string installed = ResolvePath(m_state.baseFolder, FileNames::kProgramFile);
    m_shortcut.Make(FileExists(installed) ? installed : m_state.exePath, kShortcutTitle);

    PrintButton->setEnabled(true);
    FontSelect->SetPosition(7 - m_state.printMode);
    ShowPrintMode();

    const bool dayTextExists = FileExists(DayTextPath(m_state));
    SaveButton->setEnabled(dayTextExists);
    LoadButton->setEnabled(dayTextExists);
    // The job number carries on from the last run, so stamps stay unique through the day.
    LoadJobNumber(m_state);
    PrintCounter->setText(QStringLiteral("    "));

    InstallFiles(m_state.baseFolder);

    // The caption changes only once the text is safely written. A data file cut short
    // is told, and the day opens with what it held.
    if (const auto day = DecodeDeliveredDay(m_state)) {
      RaceDate->setText(FromBytes(RaceDateText(day->raceDay)));
      if (!day->warning.empty()) m_showMessage(day->warning);
    }

    try {
      SplitDayIntoPages(m_state, m_pageList);
    } catch (const IoError&) {
      ShowPageList();  // whatever the failed step left, the list shows it
      throw;
    }
    ShowPageList();
    if (const auto first = ItemPath(m_pageList, 0, m_state.baseFolder)) ShowView(*first);
  });
}

void TMainForm::CleanUp() {
  // Told before the settings are written: a failure there keeps the window open, and
  // the pages are already joined back, so this is the one time to tell it.
  const RejoinNotice notice = RejoinReports(m_state.baseFolder, m_state.reportFiles);
  if (!notice.Empty()) m_showMessage(RejoinNoticeText(notice));
  WriteSettings(SettingsPath(m_state), m_state.settings);
}

void TMainForm::RebuildPageList() {
  try {
    RefillPageList(m_state, m_pageList);
  } catch (const IoError&) {
    ShowPageList();  // the list was emptied
    throw;
  }
  ShowPageList();
}

void TMainForm::ShowPageList() {
  std::vector<std::string> texts;
  std::vector<bool> checked;
  for (const PageItem& item : m_pageList.items) {
    texts.push_back(item.text);
    checked.push_back(item.checked);
  }
  const QSignalBlocker blocker(ReportListBox);
  ReportListBox->SetItems(texts, checked);
  ReportListBox->SelectFromCode(m_pageList.selected);
}

void TMainForm::ShowView(const std::string& path) {
  if (const auto text = LoadViewText(path, m_state.viewFileName)) MainMemo->setPlainText(QString::fromUtf8(*text));
}

void TMainForm::ReportBoxClick(int index) {
  m_pageList.selected = index;
  if (const auto path = ItemPath(m_pageList, index, m_state.baseFolder)) ShowView(*path);
}

void TMainForm::ReportListBoxKeyPress() {
  m_pageList.selected = ReportListBox->currentRow();
  if (const auto index = BackspaceJump(m_pageList, m_jump)) {
    ReportListBox->SelectFromCode(*index);
    if (const auto path = ItemPath(m_pageList, *index, m_state.baseFolder)) ShowView(*path);
  }
}

void TMainForm::CheckAllClick() {
  CheckAll(m_pageList);
  const QSignalBlocker blocker(ReportListBox);
  ReportListBox->SetCheckMarks(CheckMarksOf(m_pageList));
}

void TMainForm::ClearAllClick() {
  ClearAll(m_pageList);
  const QSignalBlocker blocker(ReportListBox);
  ReportListBox->SetCheckMarks(CheckMarksOf(m_pageList));
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // A failure while closing is shown and the window stays open.
  if (RunCommand(m_showMessage, [this] { CleanUp(); })) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SpinFont &&
      (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick)) {
    RunCommand(m_showMessage, [this] { SpinFontDblClick(); });
    return true;
  }
  if (watched == ListBox1->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) ListBox1MouseDown();
    if (event->type() == QEvent::MouseButtonRelease) ListBox1MouseUp();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ListBox1MouseDown() {
  PrintCounter->setText(FromBytes(m_state.jobNumberText));
  m_shortcut.Make(m_state.exePath, kShortcutTitle);
}

void TMainForm::ListBox1MouseUp() { PrintCounter->setText(QStringLiteral("    ")); }
