#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

ShowMessageFn SystemMessageBox() {
  return [](const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrose"), QString::fromLocal8Bit(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  };
}

AskQuestionFn SystemQuestionBox() {
  return [](const std::string& question, const std::string& yes, const std::string& no) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vantrose"), QString::fromStdString(question),
                    QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yesButton = box.addButton(QString::fromStdString(yes), QMessageBox::AcceptRole);
    QPushButton* noButton = box.addButton(QString::fromStdString(no), QMessageBox::RejectRole);
    box.setDefaultButton(yesButton);
    box.setEscapeButton(noButton);  // the close box presses it too
    box.exec();
    return box.clickedButton() == yesButton;
  };
}
