// Placing a control as the window definitions give it: its component name and its
// geometry in the parent's client area, in pixels. Every window and dialog uses it.
#pragma once

#include <QString>
#include <QWidget>

// Names `widget` and sets its geometry; returns it, so creation and placing read as one line.
template <typename Widget>
Widget* Place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}
