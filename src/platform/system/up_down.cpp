#include "platform/system/up_down.h"

#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>

UpDown::UpDown(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
  m_up->setArrowType(Qt::UpArrow);
  m_down->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {m_up, m_down}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  setFocusPolicy(Qt::TabFocus);
  connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::SetRange(int minimum, int maximum) {
  m_minimum = minimum;
  m_maximum = std::max(minimum, maximum);
  SetPosition(m_position);
}

void UpDown::SetPosition(int position) { m_position = std::clamp(position, m_minimum, m_maximum); }

void UpDown::Step(int direction) {
  int next = m_position + direction * m_increment;
  if (next > m_maximum) next = m_wrap ? m_minimum : m_maximum;
  if (next < m_minimum) next = m_wrap ? m_maximum : m_minimum;
  m_position = next;
  emit Clicked();
}

void UpDown::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    Step(+1);
  } else if (event->key() == Qt::Key_Down) {
    Step(-1);
  } else {
    QWidget::keyPressEvent(event);
  }
}

void UpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  m_up->setGeometry(0, 0, width(), half);
  m_down->setGeometry(0, half, width(), height() - half);
}
