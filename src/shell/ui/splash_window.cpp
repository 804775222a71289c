#include "shell/ui/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "platform/system/fonts.h"
#include "platform/system/place.h"

TSplash::TSplash() {
  setObjectName(QStringLiteral("Splash"));
  setWindowTitle(QStringLiteral("    initializing..."));
  setFixedSize(384, 262);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(PlaceOnScreen(screen->availableGeometry(), frameGeometry().size()));
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0, 0, 128));
  painter.setPen(Qt::white);
  painter.setFont(WindowFont("Lucida Console", 40, FontWeight::Bold));
  painter.drawText(rect().adjusted(0, 0, 0, -60), Qt::AlignCenter, QStringLiteral("VANTROSE"));
  painter.setFont(WindowFont("Lucida Sans", 16));
  painter.drawText(rect().adjusted(0, 90, 0, 0), Qt::AlignCenter, QStringLiteral("Ravelstow race day reports"));
}
