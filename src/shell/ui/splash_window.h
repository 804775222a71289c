// The splash window shown while the start-up steps run.
#pragma once

#include <QWidget>

class TSplash final : public QWidget {
  Q_OBJECT
 public:
  TSplash();

 protected:
  void paintEvent(QPaintEvent* event) override;
};
