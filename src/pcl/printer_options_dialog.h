// The PCL printer options: the printer for raw jobs, legal paper and duplex.
#pragma once

#include <QDialog>

class TPrinterXForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TPrinterXForm(QWidget* parent);
};
