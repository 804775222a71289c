// The scratch editor: edits one page in a code page 437 font.
#pragma once

#include <QDialog>

class TEditForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TEditForm(QWidget* parent);
};
