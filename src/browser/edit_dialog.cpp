#include "browser/edit_dialog.h"

TEditForm::TEditForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EditForm"));
  setWindowTitle(QStringLiteral("Edit"));
  setFixedSize(794, 458);
}
