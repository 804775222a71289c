// The schedule command of the real main window printing through a private CUPS
// scheduler: the job arrives as a PDF holding the heading and the lines of the
// checked tracks, laid out as the options dialog chose.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

#include "canvas/ui/simo_options_dialog.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/printing_test.h"

namespace {

using SimoPrint = PrintingTest;

TEST_F(SimoPrint, TwoPageScheduleGoesTwoUpOnOneSheetWithTheDesignCaptionAsHeading) {
  m_profile.Write(Base("Vantrose.TXT"),
                  "\x0c@A01Tam race one\r\nTam page\r\n\x0c@A01Kee race one\r\nKee page\r\n"
                  "\x0c@A01GPx race one\r\nGPx page\r\n");
  m_services.printing = SystemPrintingServices();
  const std::unique_ptr<Program> program = StartHere();
  ASSERT_TRUE(program);
  TMainForm& form = *program->mainForm;
  auto* dialog = form.findChild<TSimoOpts*>(QStringLiteral("SimoOpts"));
  ASSERT_NE(dialog, nullptr);

  // 36 lines of Tam, Kee and GPx with at most 32 lines per page: two pages, 2-up.
  QTimer::singleShot(0, dialog, [dialog] {
    for (int i = 0; i < 8; ++i) dialog->MaximumLines->Step(-1);
    dialog->x2->click();
    dialog->OK->click();
  });
  form.options->click();
  const QString pageView = form.MainMemo->toPlainText();
  form.PrintSimo->click();
  ASSERT_TRUE(m_messages.empty()) << m_messages.front();

  const auto job = m_server.NextJob();
  ASSERT_TRUE(job.has_value()) << "no job reached the printer";
  ASSERT_EQ(job->rfind("%PDF", 0), 0u);
  const std::string text = PdfText(*job);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one sheet";
  const QString simplified = QString::fromStdString(text).simplified();
  EXPECT_EQ(simplified.count(QStringLiteral("Race Date")), 2) << "a heading on each half";

  const std::string schedule = m_profile.Read(Base("SimoDump.LST"));
  std::size_t lineCount = 0;
  for (std::size_t start = 0; start < schedule.size(); start = schedule.find("\r\n", start) + 2) {
    const QString line = QString::fromStdString(schedule.substr(start, schedule.find("\r\n", start) - start));
    EXPECT_TRUE(simplified.contains(line.simplified())) << line.toStdString();
    ++lineCount;
  }
  EXPECT_EQ(lineCount, 36u);
  EXPECT_EQ(form.MainMemo->toPlainText(), pageView);  // the view is back on its page
}

}  // namespace
