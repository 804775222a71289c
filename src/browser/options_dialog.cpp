#include "browser/options_dialog.h"

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsForm"));
  setWindowTitle(QStringLiteral("Options"));
  setFixedSize(420, 420);
}
