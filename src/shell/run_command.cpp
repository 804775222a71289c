#include "shell/run_command.h"

#include <QApplication>
#include <QMessageBox>

ShowMessageFn QtMessageBox() {
  return [](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrose"), QString::fromLocal8Bit(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  };
}
