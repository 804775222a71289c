// The print commands of the real main window against a private CUPS scheduler:
// raw jobs must arrive byte for byte, canvas jobs as PDF holding the printed
// lines, and a print that does not reach the printer must say so.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>

#include "base/file_layer.h"
#include "browser/ui/page_list_box.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/cups_server.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

// A small day: two pages with blocks separated by blank lines, and an X page.
const std::string kDayText =
    "\x0c@A01Tam01  Tam race 1\r\nPepper Rocket      84\r\nBrisk Beacon       88\r\n\r\n"
    "Silver Legend      86\r\n\xc4\xc4\xc4 \xb3 box line\r\n"
    "\x0c@X01Tam  Tam summary\r\nsummary line\r\n"
    "\x0c@E01Tam01  Tam performances\r\nfirst performance line\r\n\r\nsecond block\r\n";

class PrintWindowTest : public WorkingFolderTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_server.Running()) << m_server.Problem();
    ASSERT_TRUE(m_server.AddRawQueue("raw"));
    ASSERT_TRUE(m_server.SetDefault("raw"));
    m_profile.Write(Base("Vantrose.TXT"), kDayText);
  }

  void Start(bool withPrinters = true) {
    m_services.printing = SystemPrintingServices();
    if (!withPrinters) {
      m_services.printing.catalogue = std::make_unique<NoPrinters>();
      m_services.printing.currentPrinter = std::make_unique<CurrentPrinter>(*m_services.printing.catalogue);
    }
    m_program = StartHere();
    ASSERT_TRUE(m_program);
    m_form = m_program->mainForm.get();
    m_printerX = m_form->findChild<TPrinterXForm*>(QStringLiteral("PrinterXForm"));
    ASSERT_NE(m_printerX, nullptr);
  }

  void TearDown() override { m_program.reset(); }

  void SelectMode(int mode) {
    m_form->FontSelect->SetPosition(7 - mode);
    emit m_form->FontSelect->Clicked();
    ASSERT_EQ(m_form->State().printMode, mode);
  }

  // The print file PRINT writes: the checked pages' lines, in list order (no stamp applies here).
  std::string CheckedPagesText() const {
    std::string text;
    for (const PageItem& item : m_form->Pages().items) {
      if (!item.checked || item.text.empty()) continue;
      InputFile page(m_profile.Path() + Base(item.text));
      std::string line;
      while (page.ReadLine(line)) text += line + "\r\n";
    }
    return text;
  }

  static std::string PdfText(const std::string& pdf) {
    TempFolder folder;
    const std::string path = folder.Write("job.pdf", pdf);
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
    process.waitForFinished(30000);
    return process.readAllStandardOutput().simplified().toStdString();
  }

  CupsServer m_server;
  std::unique_ptr<Program> m_program;
  TMainForm* m_form = nullptr;
  TPrinterXForm* m_printerX = nullptr;
};

TEST_F(PrintWindowTest, PclModesDeliverTheComposedJobByteForByte) {
  Start();
  for (int mode = 4; mode < 8; ++mode) {
    for (const bool legal : {false, true}) {
      for (const bool duplex : {false, true}) {
        m_printerX->LegalBox->setChecked(legal);
        m_printerX->DuplexBox->setChecked(duplex);
        SelectMode(mode);
        const std::string expected = ComposePclJob(CheckedPagesText(), ModeLetter(mode), legal, duplex);
        m_form->PrintButton->click();
        EXPECT_EQ(m_form->PrintCounter->text(), "-OK-");
        const auto job = m_server.NextJob();
        ASSERT_TRUE(job.has_value()) << "no job for mode " << mode;
        EXPECT_EQ(*job, expected) << "mode " << mode << " legal " << legal << " duplex " << duplex;
      }
    }
  }
  EXPECT_TRUE(m_messages.empty());
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PRN")));
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PCL")));
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.JOB")), "0016\r\n");
}

TEST_F(PrintWindowTest, CanvasModesDeliverAPdfHoldingThePrintedLines) {
  Start();
  for (int mode = 0; mode < 4; ++mode) {
    SelectMode(mode);
    m_form->PrintButton->click();
    EXPECT_EQ(m_form->PrintCounter->text(), "-OK-") << mode;
    const auto job = m_server.NextJob();
    ASSERT_TRUE(job.has_value()) << "no job for mode " << mode;
    ASSERT_EQ(job->rfind("%PDF", 0), 0u) << "mode " << mode;
    const std::string text = PdfText(*job);
    for (const char* line : {"Pepper Rocket 84", "Silver Legend 86", "first performance line", "second block"})
      EXPECT_NE(text.find(line), std::string::npos) << "mode " << mode << ": " << line << " in " << text;
    // Box-drawing bytes print as the canvas's plain characters.
    EXPECT_NE(text.find("--- | box line"), std::string::npos) << text;
    EXPECT_EQ(text.find("summary line"), std::string::npos) << "the unchecked X page printed";
  }
}

TEST_F(PrintWindowTest, CurrentViewPrintsTheFileShownWithoutStampOrJobNumber) {
  Start();
  SelectMode(4);
  const std::string shown = ReadFile(m_form->State().viewFileName);
  m_form->test1->trigger();
  const auto job = m_server.NextJob();
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(*job, ComposePclJob(shown, 'J', false, false));
  EXPECT_EQ(m_form->State().jobNumber, 0);
  EXPECT_EQ(m_form->PrintCounter->text(), "    ");
}

TEST_F(PrintWindowTest, ARefusedJobShowsErAndTheReason) {
  ASSERT_TRUE(m_server.AddRejectingQueue("closed"));
  Start();
  const std::vector<std::string>& names = m_services.printing.currentPrinter->Names();
  const auto found = std::find(names.begin(), names.end(), "closed");
  ASSERT_NE(found, names.end());
  const int closedIndex = static_cast<int>(found - names.begin());
  m_printerX->SelectPrinter(closedIndex);
  ASSERT_GE(closedIndex, 0);
  m_printerX->SelectOK->click();
  SelectMode(6);
  m_form->PrintButton->click();
  EXPECT_EQ(m_form->PrintCounter->text(), "-ER-");
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_FALSE(m_messages[0].empty());
  EXPECT_TRUE(m_form->PrintButton->isEnabled());
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
}

TEST_F(PrintWindowTest, NoPrinterAtAllShowsErInEveryFamily) {
  Start(/*withPrinters=*/false);
  for (const int mode : {4, 0}) {
    m_messages.clear();
    SelectMode(mode);
    m_form->PrintButton->click();
    EXPECT_EQ(m_form->PrintCounter->text(), "-ER-") << mode;
    EXPECT_EQ(m_messages, std::vector<std::string>{"No printer is installed."}) << mode;
  }
}

TEST_F(PrintWindowTest, PrintWithNothingCheckedChangesNothingAndAModeChangeEnablesPrint) {
  Start();
  m_form->clearALL->click();
  m_form->PrintButton->click();
  EXPECT_FALSE(m_form->PrintButton->isEnabled());
  EXPECT_EQ(m_form->PrintCounter->text(), "    ");
  EXPECT_EQ(m_form->State().jobNumber, 0);
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PRN")));
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(300)).has_value());
  SelectMode(3);
  EXPECT_TRUE(m_form->PrintButton->isEnabled());
}

TEST_F(PrintWindowTest, ModeSelectorWrapsAndClearsTheDarknessBits) {
  Start();
  m_form->FontSelect->SetPosition(0);
  m_form->FontSelect->Step(-1);  // down from position 0 wraps to 7: mode 0
  EXPECT_EQ(m_form->State().printMode, 0);
  m_form->FontSelect->Step(+1);  // up from 7 wraps to 0: mode 7
  EXPECT_EQ(m_form->State().printMode, 7);
  EXPECT_EQ(m_form->SpinFont->text().toStdString(), "     PCL Landscape 6pt       ");
  m_printerX->LegalBox->setChecked(true);
  m_form->FontSelect->Step(-1);
  EXPECT_EQ(m_form->State().settings.printSettings, 0 | 0x8);
}

TEST_F(PrintWindowTest, PrinterChoiceNeedsOkAndTheCloseBoxUndoesIt) {
  ASSERT_TRUE(m_server.AddRawQueue("other"));
  Start();
  const int before = m_printerX->SavedPrinterIndex();
  ASSERT_GE(before, 0);
  const int other = before == 0 ? 1 : 0;
  m_printerX->SelectPrinter(other);
  m_printerX->reject();  // the close box
  EXPECT_EQ(m_printerX->SelectedPrinterIndex(), before);
  m_printerX->SelectPrinter(other);
  m_printerX->SelectOK->click();
  EXPECT_EQ(m_printerX->SavedPrinterIndex(), other);
  EXPECT_EQ(m_printerX->SelectedPrinterIndex(), other);
}

}  // namespace
