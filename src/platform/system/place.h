// Placing a control as the window definitions give it: its component name and its
// geometry in the parent's client area, in pixels. Every window and dialog uses it.
// Also where a window goes on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <algorithm>

// Names `widget` and sets its geometry; returns it, so creation and placing read as one line.
template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

// The top-left corner for a window of `frameSize` (with its frame, as far as it is known)
// on a screen whose free area is `available`: centred, except along a side where the
// window is larger than the area; there it starts where the area starts, so that its
// title, menu and top-left controls are on screen.
inline QPoint PlaceOnScreen(const QRect& available, const QSize& frameSize) {
  const int left = available.left() + (available.width() - frameSize.width()) / 2;
  const int top = available.top() + (available.height() - frameSize.height()) / 2;
  return {std::max(left, available.left()), std::max(top, available.top())};
}
