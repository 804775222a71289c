// The main window's browser commands: report and track options, the scratch
// editor, help texts and the archive. Each reads the dialog, calls the core and
// shows the result; a failure ends the command through RunCommand.
#include <QInputDialog>
#include <QPlainTextEdit>

#include "base/file_layer.h"
#include "browser/archive.h"
#include "browser/archive_prompt.h"
#include "browser/options.h"
#include "browser/scratch.h"
#include "browser/ui/edit_dialog.h"
#include "browser/ui/options_dialog.h"
#include "browser/ui/page_list_box.h"
#include "import/page_index.h"
#include "import/report_split.h"
#include "shell/ui/main_window.h"

namespace {

constexpr std::string_view kGeneralHelp = "Help/@-Report.HLP";
constexpr std::string_view kAReportHelp = "Help/A-Report.HLP";
constexpr std::string_view kEReportHelp = "Help/E-Report.HLP";

PageChoice PageChoiceOf(const AppState& state) {
  return {state.settings.reportLetters, state.settings.trackLetters, state.applyPerfLimit, state.settings.maxPerfLines};
}

}  // namespace

void TMainForm::OptionsMenuClick() {
  m_optionsForm->Load(OptionsFromSettings(m_state.settings));
  if (RunModal(*m_optionsForm) != QDialog::Accepted) return;

  const ListMarks marks = RecordMarks(m_pageList);
  m_state.applyPerfLimit = StoreOptions(m_optionsForm->Choice(), m_state.settings);
  try {
    RebuildPageList();
  } catch (const IoError&) {
    // Some E pages may be cut to the old limit and some to the new: the next rebuild
    // cuts them all again.
    m_state.applyPerfLimit = true;
    throw;
  }
  CarryMarksOver(marks, m_pageList);
  ShowPageList();
  if (const auto path = ItemPath(m_pageList, m_pageList.selected, m_state.baseFolder)) ShowView(*path);
  ReportListBox->setFocus();
}

void TMainForm::MenuEditClick() {
  // No selection or a filler gives the folder itself, which the editor reports as "File not found".
  const int selected = m_pageList.selected;
  const std::string pageName = selected >= 0 && selected < static_cast<int>(m_pageList.items.size())
                                   ? m_pageList.items[static_cast<std::size_t>(selected)].text
                                   : std::string();
  const std::string pagePath = JoinPath(m_state.baseFolder, pageName);
  m_editForm->LoadLines(LoadPageLines(pagePath));
  if (RunModal(*m_editForm) != QDialog::Accepted) return;

  ApplyScratchEdit(m_state.baseFolder, pageName, m_editForm->Lines());
  // The memo shows the rewritten page; ViewFileName keeps naming what was shown before.
  std::string viewFileName = m_state.viewFileName;
  if (const auto text = LoadViewText(pagePath, viewFileName)) MainMemo->setPlainText(QString::fromUtf8(*text));
  ReportListBox->setFocus();
}

void TMainForm::WTFClick() { ShowView(ResolvePath(m_state.baseFolder, kGeneralHelp)); }

void TMainForm::WTFClickA() { ShowView(ResolvePath(m_state.baseFolder, kAReportHelp)); }

void TMainForm::WTFClickE() { ShowView(ResolvePath(m_state.baseFolder, kEReportHelp)); }

QString TMainForm::AskInput(const QString& caption, const QString& prompt) {
  if (InputBox) return InputBox(caption, prompt);
  return QInputDialog::getText(this, caption, prompt);  // empty when cancelled
}

void TMainForm::SaveButtonClick() {
  const auto name = AskArchiveName(
      [this] { return AskInput(QStringLiteral("Save File"), QStringLiteral("Save Vantrose.TXT as: ")).toStdString(); });
  if (!name) return;
  SavePages(ArchivePath(m_state.baseFolder, *name), m_state.baseFolder, m_pageList.items, PageSelection::CheckedOnly);
}

void TMainForm::LoadButtonClick() {
  const auto name = AskArchiveName([this] {
    return AskInput(QStringLiteral("Load File"), QStringLiteral("Load Vantrose.TXT from: ")).toStdString();
  });
  if (!name) return;

  // The steps work on copies, adopted only once the whole load succeeded: a failure
  // leaves the text, the pages, the list and the state as they were.
  AppState next = m_state;
  PageList nextList = m_pageList;
  RejoinNotice rejoined;
  const ArchiveLoadSteps steps{
      [&] { rejoined = RejoinReports(next.baseFolder, next.reportFiles); },
      [&] {
        SplitReports(next.baseFolder, next.simoTable, next.reportFiles);
        next.applyPerfLimit = true;
      },
      [&] { BuildPageList(next.baseFolder, next.reportFiles, PageChoiceOf(next), nextList); },
  };
  // A name that is not in the archive folder ends the command silently.
  if (LoadArchive(m_state.baseFolder, ArchivePath(m_state.baseFolder, *name), m_state.reportFiles, steps) !=
      ArchiveLoad::Loaded)
    return;

  m_state = std::move(next);
  m_pageList = std::move(nextList);
  SetDefaultChecks(m_pageList);
  ShowPageList();
  if (const auto first = ItemPath(m_pageList, 0, m_state.baseFolder)) ShowView(*first);
  if (!rejoined.Empty()) m_showMessage(RejoinNoticeText(rejoined));
}
