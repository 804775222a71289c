#include "canvas/simo_options_dialog.h"

TSimoOpts::TSimoOpts(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SimoOpts"));
  setWindowTitle(QStringLiteral("SimoOpts"));
  setFixedSize(640, 480);
}
