#include "browser/ui/edit_dialog.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "browser/editor_text.h"
#include "platform/system/fonts.h"
#include "platform/system/place.h"

namespace {

// The client area just holds the editor, the right- and bottom-most control.
constexpr int kClientWidth = 778;
constexpr int kClientHeight = 420;

}  // namespace

TEditForm::TEditForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EditForm"));
  setWindowTitle(QStringLiteral("Edit"));
  setFont(WindowFont("Consolas", 16));
  setFixedSize(kClientWidth, kClientHeight);

  EditMemo = Place(new QPlainTextEdit(this), "EditMemo", 118, 0, 660, 420);
  EditMemo->setFont(WindowFont("Terminal", 12));
  EditMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette memoPalette = EditMemo->palette();
  memoPalette.setColor(QPalette::Text, QColor(0, 0, 128));      // navy
  memoPalette.setColor(QPalette::Base, QColor(192, 192, 192));  // light grey
  EditMemo->setPalette(memoPalette);

  EditOK = Place(new QPushButton(QStringLiteral("OK"), this), "EditOK", 0, 360, 108, 54);
  EditOK->setFont(WindowFont("Lucida Sans", 24));
  connect(EditOK, &QPushButton::clicked, this, [this] { EditOKClick(); });
}

void TEditForm::LoadLines(const std::vector<std::string>& pageLines) {
  EditMemo->setPlainText(QString::fromStdString(EditorText(pageLines)));
  EditMemo->moveCursor(QTextCursor::Start);
}

std::vector<std::string> TEditForm::Lines() const {
  // The raw text: toPlainText() would turn the no-break space (byte 255) into a blank.
  return EditorLines(EditMemo->document()->toRawText().toStdString());
}

// Only OK applies and only the close box cancels: Escape, which a dialog takes for
// its close box, would throw the typed edits away without a word.
void TEditForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TEditForm::EditOKClick() { accept(); }
