#include "pcl/printer_options_dialog.h"

TPrinterXForm::TPrinterXForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PrinterXForm"));
  setWindowTitle(QStringLiteral("PCL Printer Options"));
  setFixedSize(500, 300);
}
