// The scratch editor: shows one page's lines in a code page 437 font for free
// editing and gives back the edited lines as code page 437 bytes. It reads and
// writes no file; the caller saves and scratches the page after OK.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

class TEditForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TEditForm(QWidget* parent);

  // Replaces the editor's text with `pageLines` (code page 437 bytes).
  void LoadLines(const std::vector<std::string>& pageLines);
  // The editor's text as code page 437 lines; "?" for a character the code page cannot hold.
  std::vector<std::string> Lines() const;

  // Components, named as in the window definitions.
  QPlainTextEdit* EditMemo = nullptr;
  QPushButton* EditOK = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void EditOKClick();
};
