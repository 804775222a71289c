// The report and track options dialog: which track groups and report kinds the page
// list shows and how many performance lines an E page keeps.
#pragma once

#include <QDialog>

class TOptionsForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TOptionsForm(QWidget* parent);
};
