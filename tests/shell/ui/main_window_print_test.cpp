// The print commands of the real main window against a private CUPS scheduler:
// raw jobs must arrive byte for byte, canvas jobs as PDF holding the printed
// lines on the current printer's paper, a print that does not reach the printer
// must say so in every family, and the printer dialogs choose where jobs go.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

#include "base/file_layer.h"
#include "browser/ui/page_list_box.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/system/printer_setup_dialog.h"
#include "platform/system/up_down.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/printing_test.h"

namespace {

// A small day: two pages with blocks separated by blank lines, and an X page.
const std::string kDayText =
    "\x0c@A01Tam01  Tam race 1\r\nPepper Rocket      84\r\nBrisk Beacon       88\r\n\r\n"
    "Silver Legend      86\r\n\xc4\xc4\xc4 \xb3 box line\r\n"
    "\x0c@X01Tam  Tam summary\r\nsummary line\r\n"
    "\x0c@E01Tam01  Tam performances\r\nfirst performance line\r\n\r\nsecond block\r\n";

class PrintWindowTest : public PrintingTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(PrintingTest::SetUp());
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

  // The index of the printer `name` in the dialogs' list.
  int IndexOf(const std::string& name) const {
    const std::vector<std::string>& names = m_services.printing.currentPrinter->Names();
    const auto found = std::find(names.begin(), names.end(), name);
    EXPECT_NE(found, names.end()) << name;
    return static_cast<int>(found - names.begin());
  }

  // Chooses `name` in the PCL printer options and confirms it.
  void ChooseInPrinterOptions(const std::string& name) {
    m_printerX->SelectPrinter(IndexOf(name));
    m_printerX->SelectOK->click();
  }

  // A click on the print-mode label, which opens the mode's printer dialog through RunModal.
  void ClickSpinFont() {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), m_form->SpinFont->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_form->SpinFont, &release);
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

  // True when the job's options carry `option` ("name=value").
  static bool HasOption(const CupsServer::CapturedJob& job, const std::string& option) {
    return (" " + job.options + " ").find(" " + option + " ") != std::string::npos;
  }

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
    const auto job = m_server.NextCapturedJob();
    ASSERT_TRUE(job.has_value()) << "no job for mode " << mode;
    ASSERT_EQ(job->bytes.rfind("%PDF", 0), 0u) << "mode " << mode;
    // One copy of a document named as the raw jobs are, in the orientation it was laid out in.
    EXPECT_EQ(job->title, "Vantrose");
    EXPECT_EQ(job->copies, "1");
    EXPECT_TRUE(HasOption(*job, mode == 3 ? "orientation-requested=4" : "orientation-requested=3")) << job->options;
    const std::string text = SimplifiedPdfText(job->bytes);
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

TEST_F(PrintWindowTest, ARefusedJobShowsErAndTheSchedulersReasonInEveryFamily) {
  ASSERT_TRUE(m_server.AddRejectingQueue("closed"));
  Start();
  ChooseInPrinterOptions("closed");
  ASSERT_EQ(m_services.printing.currentPrinter->DeviceName(), "closed");
  struct Case {
    const char* command;
    int mode;  // -1: "Print Simo Schedule"
  };
  const Case cases[] = {{"PCL Portrait 6pt", 6}, {"WIN Portrait 9pt", 0}, {"WIN Landscape 7pt", 3}, {"schedule", -1}};
  std::vector<std::string> reasons;
  for (const Case& c : cases) {
    m_messages.clear();
    m_form->PrintCounter->setText(QStringLiteral("-OK-"));  // as an earlier print left it
    if (c.mode >= 0) {
      SelectMode(c.mode);
      m_form->PrintButton->click();
    } else {
      m_form->PrintSimo->click();
    }
    EXPECT_EQ(m_form->PrintCounter->text(), "-ER-") << c.command;
    ASSERT_EQ(m_messages.size(), 1u) << c.command;
    reasons.push_back(m_messages[0]);
    EXPECT_TRUE(m_form->PrintButton->isEnabled()) << c.command;
  }
  // The scheduler's own words, the same whichever family printed.
  EXPECT_NE(reasons[0].find("not accepting jobs"), std::string::npos) << reasons[0];
  EXPECT_EQ(std::count(reasons.begin(), reasons.end(), reasons[0]), 4) << reasons[1] << " / " << reasons[3];
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PRN")));
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PCL")));
}

TEST_F(PrintWindowTest, NothingToPrintSendsNothingAndShowsNoErrorInEitherFamily) {
  Start();
  // Every checked page file is missing, and so is the file the view shows: both print
  // commands write an empty print file.
  for (const PageItem& item : m_form->Pages().items)
    if (item.checked && !item.text.empty()) std::filesystem::remove(PagePath(item.text));
  std::filesystem::remove(m_form->State().viewFileName);
  for (const int mode : {4, 7, 0, 3}) {
    SelectMode(mode);
    m_form->PrintButton->click();
    EXPECT_EQ(m_form->PrintCounter->text(), "-OK-") << mode;
    m_form->test1->trigger();  // "PRINT Current View  Only"
    EXPECT_EQ(m_form->PrintCounter->text(), "-OK-") << mode;
  }
  EXPECT_EQ(m_messages, std::vector<std::string>{});
  EXPECT_FALSE(m_server.NextJob(std::chrono::milliseconds(500)).has_value());
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PRN")));
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PCL")));
}

TEST_F(PrintWindowTest, AJobNumberThatCannotBeKeptNeverStopsThePrint) {
  m_profile.MakeFolder(Base("Exec/Vantrose.JOB"));  // the number's file cannot be written
  Start();
  SelectMode(4);
  std::ostringstream notes;
  std::streambuf* const standardError = std::cerr.rdbuf(notes.rdbuf());
  m_form->PrintButton->click();
  m_form->PrintButton->click();
  std::cerr.rdbuf(standardError);

  EXPECT_EQ(m_form->PrintCounter->text(), "-OK-");
  EXPECT_EQ(m_messages, std::vector<std::string>{});
  EXPECT_TRUE(m_server.NextJob().has_value());
  EXPECT_TRUE(m_server.NextJob().has_value());
  EXPECT_EQ(m_form->State().jobNumber, 2);  // counted on in memory
  EXPECT_NE(notes.str().find("job number 0001 was not kept"), std::string::npos) << notes.str();
  EXPECT_NE(notes.str().find("job number 0002 was not kept"), std::string::npos) << notes.str();
}

TEST_F(PrintWindowTest, CanvasLayoutIsMeasuredOnThePrinterTheJobGoesTo) {
  ASSERT_TRUE(m_server.AddPaperQueue("legal", "Legal"));
  Start();
  // The raw queue names no paper and prints on the toolkit's A4; the other queue's own
  // paper is legal, which canvas printing tells by its shape.
  struct Case {
    const char* printer;
    int mode;
    const char* pageSize;  // as pdfinfo gives it
    const char* media;
    bool legal;
  };
  const Case cases[] = {
      {"raw", 0, "595 x 842 pts", "A4", false},      {"legal", 0, "612 x 1008 pts", "Legal", true},
      {"legal", 3, "1008 x 612 pts", "Legal", true}, {"raw", 3, "842 x 595 pts", "A4", false},
      {"legal", 2, "612 x 1008 pts", "Legal", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.printer) + ", mode " + std::to_string(c.mode));
    ChooseInPrinterOptions(c.printer);
    SelectMode(c.mode);
    m_form->PrintButton->click();
    EXPECT_EQ(m_form->PrintCounter->text(), "-OK-");
    const auto job = m_server.NextCapturedJob();
    ASSERT_TRUE(job.has_value());
    EXPECT_EQ(job->printer, c.printer);
    EXPECT_TRUE(HasOption(*job, std::string("media=") + c.media)) << job->options;
    EXPECT_NE(PdfInfo(job->bytes).find(c.pageSize), std::string::npos) << PdfInfo(job->bytes);
    EXPECT_EQ(m_form->State().legalPaper, c.legal);
  }
  // The schedule too is laid out on the current printer's paper.
  m_form->PrintSimo->click();
  const auto schedule = m_server.NextCapturedJob();
  ASSERT_TRUE(schedule.has_value());
  EXPECT_EQ(schedule->printer, "legal");
  EXPECT_NE(PdfInfo(schedule->bytes).find("612 x 1008 pts"), std::string::npos) << PdfInfo(schedule->bytes);
  EXPECT_EQ(m_messages, std::vector<std::string>{});
}

TEST_F(PrintWindowTest, WinPrinterSetupChoosesThePrinterOfEveryFamilyAndPrintsNothing) {
  ASSERT_TRUE(m_server.AddRawQueue("other"));
  Start();
  SelectMode(0);
  // Picks `printer` in the setup dialog and leaves it with OK or Cancel.
  const auto runSetup = [this](const std::string& printer, bool ok) {
    bool shown = false;
    m_form->RunModal = [&](QDialog& dialog) {
      auto* setup = qobject_cast<TPrinterSetupDialog*>(&dialog);
      EXPECT_NE(setup, nullptr);
      if (setup == nullptr) return static_cast<int>(QDialog::Rejected);
      shown = true;
      // It opens on the current printer.
      EXPECT_EQ(setup->PrinterName->currentText().toStdString(), m_services.printing.currentPrinter->DeviceName());
      // A setup dialog: no Print button, no output to a file, no page range.
      QStringList buttons;
      for (const QAbstractButton* button : setup->findChildren<QAbstractButton*>()) buttons << button->text();
      buttons.sort();
      EXPECT_EQ(buttons, (QStringList{QStringLiteral("&Landscape"), QStringLiteral("Cancel"), QStringLiteral("OK"),
                                      QStringLiteral("Po&rtrait")}));
      EXPECT_TRUE(setup->findChildren<QSpinBox*>().isEmpty());
      setup->PrinterName->setCurrentIndex(IndexOf(printer));
      (ok ? setup->OkButton : setup->CancelButton)->click();
      return setup->result();
    };
    ClickSpinFont();
    EXPECT_TRUE(shown);
    m_form->RunModal = [](QDialog& dialog) { return dialog.exec(); };
  };
  // Prints once in `mode` and returns the queue the job reached.
  const auto printedOn = [this](int mode) {
    SelectMode(mode);
    m_form->PrintButton->click();
    EXPECT_EQ(m_form->PrintCounter->text(), "-OK-");
    const auto job = m_server.NextCapturedJob();
    return job ? job->printer : std::string("no job");
  };

  runSetup("other", /*ok=*/true);
  EXPECT_EQ(m_server.CapturedJobCount(), 0) << "the setup dialog printed";
  EXPECT_EQ(printedOn(0), "other");
  EXPECT_EQ(printedOn(4), "other");
  // The PCL printer options open showing the printer chosen in the setup.
  int shownInOptions = -1;
  m_form->RunModal = [&](QDialog& dialog) {
    dialog.show();
    shownInOptions = m_printerX->SelectedPrinterIndex();
    dialog.reject();
    return dialog.result();
  };
  ClickSpinFont();
  EXPECT_EQ(shownInOptions, IndexOf("other"));

  SelectMode(3);
  runSetup("raw", /*ok=*/false);  // Cancel changes nothing
  EXPECT_EQ(printedOn(3), "other");
  EXPECT_EQ(printedOn(6), "other");
  EXPECT_EQ(m_messages, std::vector<std::string>{});
}

TEST_F(PrintWindowTest, PrinterSetupChoosesThePaperOfCanvasJobs) {
  ASSERT_TRUE(m_server.AddPaperQueue("paper", "Letter"));
  Start();
  SelectMode(0);
  // Chooses the queue "paper" with `size` in `orientation`; returns the size shown for it first.
  const auto setUp = [this](const QString& size, bool landscape) {
    QString shownFirst;
    m_form->RunModal = [&](QDialog& dialog) {
      auto& setup = static_cast<TPrinterSetupDialog&>(dialog);
      setup.PrinterName->setCurrentIndex(IndexOf("paper"));
      shownFirst = setup.PaperSize->currentText();
      setup.PaperSize->setCurrentIndex(setup.PaperSize->findText(size));
      (landscape ? setup.Landscape : setup.Portrait)->click();
      setup.OkButton->click();
      return setup.result();
    };
    ClickSpinFont();
    return shownFirst.toStdString();
  };
  EXPECT_EQ(setUp(QStringLiteral("US Legal"), false), "US Letter");  // the printer's own paper
  m_form->PrintButton->click();
  const auto job = m_server.NextCapturedJob();
  ASSERT_TRUE(job.has_value());
  EXPECT_EQ(job->printer, "paper");
  EXPECT_TRUE(HasOption(*job, "media=Legal")) << job->options;
  EXPECT_NE(PdfInfo(job->bytes).find("612 x 1008 pts"), std::string::npos) << PdfInfo(job->bytes);
  EXPECT_TRUE(m_form->State().legalPaper);

  // The schedule, which sets no orientation, prints in the one set up.
  EXPECT_EQ(setUp(QStringLiteral("US Letter"), true), "US Legal");  // as set up before
  m_form->PrintSimo->click();
  const auto schedule = m_server.NextCapturedJob();
  ASSERT_TRUE(schedule.has_value());
  EXPECT_TRUE(HasOption(*schedule, "orientation-requested=4")) << schedule->options;
  EXPECT_NE(PdfInfo(schedule->bytes).find("792 x 612 pts"), std::string::npos) << PdfInfo(schedule->bytes);
  EXPECT_EQ(m_messages, std::vector<std::string>{});
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
