#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

ShowMessageFn SystemMessageBox() {
  return [](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrose"), QString::fromLocal8Bit(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  };
}
