// A small up-down control: two arrow buttons stepping a position between a
// minimum and a maximum, optionally wrapping around at both ends. A window-system
// part that windows of several floors use, so it lives with the platform.
#pragma once

#include <QWidget>

class QToolButton;

class UpDown final : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetIncrement(int increment) { m_increment = increment; }
  void SetWrap(bool wrap) { m_wrap = wrap; }
  // Sets the position from code (kept in range); raises no click.
  void SetPosition(int position);
  int Position() const { return m_position; }
  int Minimum() const { return m_minimum; }
  int Maximum() const { return m_maximum; }

  // Steps as a click of the up (+1) or down (-1) arrow does, then raises Clicked.
  void Step(int direction);

 signals:
  // The user moved the position with an arrow (or the arrow keys).
  void Clicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* m_up;
  QToolButton* m_down;
  int m_minimum = 0;
  int m_maximum = 100;
  int m_increment = 1;
  int m_position = 0;
  bool m_wrap = false;
};
