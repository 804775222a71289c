// The simulcast schedule options: lines per page and the 2-up choice.
#pragma once

#include <QDialog>

class TSimoOpts final : public QDialog {
  Q_OBJECT
 public:
  explicit TSimoOpts(QWidget* parent);
};
