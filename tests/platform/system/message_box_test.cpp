// The window system's question box: "yes" is the default button, and everything
// else that ends the box (the other button, Escape, the close box) answers no.
#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QAbstractButton* Button(QMessageBox& box, const QString& text) {
  for (QAbstractButton* button : box.buttons())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(QuestionBox, EnterAnswersYesAndEveryOtherWayOutNo) {
  struct Case {
    const char* name;
    std::function<void(QMessageBox&)> answer;
    bool yes;
  } const cases[] = {
      {"Enter", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, true},
      {"the yes button", [](QMessageBox& box) { Button(box, QStringLiteral("Create"))->click(); }, true},
      {"Escape", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
      {"the close box", [](QMessageBox& box) { box.close(); }, false},
      {"the no button", [](QMessageBox& box) { Button(box, QStringLiteral("Quit"))->click(); }, false},
  };
  const AskQuestionFn ask = SystemQuestionBox();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool shown = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown = true;
      EXPECT_EQ(box->windowTitle(), QStringLiteral("Vantrose"));
      EXPECT_EQ(box->text(), QStringLiteral("Make the folder?"));
      EXPECT_EQ(box->buttons().size(), 2);
      QAbstractButton* yes = Button(*box, QStringLiteral("Create"));
      QAbstractButton* no = Button(*box, QStringLiteral("Quit"));
      if (yes == nullptr || no == nullptr) {
        ADD_FAILURE() << "the box lacks a button";
        box->done(0);
        return;
      }
      EXPECT_EQ(box->defaultButton(), yes);
      EXPECT_EQ(box->escapeButton(), no);
      c.answer(*box);
    });
    EXPECT_EQ(ask("Make the folder?", "Create", "Quit"), c.yes);
    EXPECT_TRUE(shown);
  }
}

}  // namespace
