// The print preview of the real main window, offscreen: the sheets it shows are the
// sheets PRINT would eject, in every mode on letter and legal paper; PCL text lands
// where the job puts it; opening it changes nothing, and its Print button is PRINT.
#include "pcl/ui/print_preview_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "base/file_layer.h"
#include "browser/ui/page_list_box.h"
#include "canvas/canvas_print.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"
#include "pcl/ui/printer_options_dialog.h"
#include "platform/system/up_down.h"
#include "sample_day/sample_day.h"
#include "shell/day_cycle.h"
#include "shell/ui/main_window.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/recording_canvas.h"
#include "support/temp_folder.h"
#include "support/working_folder.h"

namespace {

// Text drawn through a painter: where each text item's baseline starts, its text and font.
struct DrawnText {
  QPointF position;
  QString text;
  QFont font;
  qreal width = 0;  // the advance of the whole item
};

// A paint device of a given resolution that records the text drawn on it.
class TextRecorder final : public QPaintDevice {
 public:
  explicit TextRecorder(int dotsPerInch) : m_engine(m_drawn), m_dotsPerInch(dotsPerInch) {}
  QPaintEngine* paintEngine() const override { return &m_engine; }
  const std::vector<DrawnText>& Drawn() const { return m_drawn; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight:
        return 20 * m_dotsPerInch;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return m_dotsPerInch;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return 1 << 24;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      case PdmWidthMM:
      case PdmHeightMM:
        return 20 * 254 / 10;
      default:
        return QPaintDevice::metric(metric);
    }
  }

 private:
  class Engine final : public QPaintEngine {
   public:
    explicit Engine(std::vector<DrawnText>& drawn) : QPaintEngine(QPaintEngine::AllFeatures), m_drawn(drawn) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& position, const QTextItem& item) override {
      m_drawn.push_back({position, item.text(), item.font(), item.width()});
    }
    Type type() const override { return QPaintEngine::User; }

   private:
    std::vector<DrawnText>& m_drawn;
  };

  std::vector<DrawnText> m_drawn;
  mutable Engine m_engine;
  int m_dotsPerInch;
};

// `count` numbered lines "<prefix><n>".
std::string NumberedLines(const std::string& prefix, int count) {
  std::string lines;
  for (int i = 1; i <= count; ++i) lines += prefix + std::to_string(i) + "\r\n";
  return lines;
}

class PrintPreviewWindowTest : public WorkingFolderTest {
 protected:
  void TearDown() override { m_program.reset(); }

  void Start(const std::string& dayText) {
    m_profile.Write(Base("Vantrose.TXT"), dayText);
    m_services.printing = SystemPrintingServices();
    m_program = StartHere();
    ASSERT_TRUE(m_program);
    m_form = m_program->mainForm.get();
    m_printerX = m_form->findChild<TPrinterXForm*>(QStringLiteral("PrinterXForm"));
    ASSERT_NE(m_printerX, nullptr);
  }

  void SelectMode(int mode, bool legal) {
    m_printerX->LegalBox->setChecked(legal);
    m_form->FontSelect->SetPosition(7 - mode);
    emit m_form->FontSelect->Clicked();
    ASSERT_EQ(m_form->State().printMode, mode);
  }

  // Opens the preview through its menu item; `inspect` sees it, and the preview closes
  // with `result`. Returns whether the preview opened.
  bool OpenPreview(const std::function<void(TPrintPreviewForm&)>& inspect, int result = QDialog::Rejected) {
    bool opened = false;
    m_form->RunModal = [&](QDialog& dialog) {
      auto* preview = dynamic_cast<TPrintPreviewForm*>(&dialog);
      if (preview == nullptr) return static_cast<int>(QDialog::Rejected);
      opened = true;
      inspect(*preview);
      return result;
    };
    m_form->PrintPreviewMenu->trigger();
    return opened;
  }

  // Checks the page `name` in the list box and clears every other item.
  void CheckOnly(const std::string& name) {
    for (int row = 0; row < m_form->ReportListBox->count(); ++row) {
      const bool wanted = m_form->Pages().items[static_cast<std::size_t>(row)].text == name;
      m_form->ReportListBox->item(row)->setCheckState(wanted ? Qt::Checked : Qt::Unchecked);
    }
    const CheckedPages checked = CheckedPagesOf(m_form->Pages(), BaseFolder());
    ASSERT_EQ(checked.paths, std::vector<std::string>{BaseFolder() + name});
  }

  // The checked pages as PRINT copies them (the stamp changes no line count).
  std::string CheckedPrintText() const {
    return ComposePrintText(CheckedPagesOf(m_form->Pages(), BaseFolder()).paths, nullptr);
  }

  std::unique_ptr<Program> m_program;
  TMainForm* m_form = nullptr;
  TPrinterXForm* m_printerX = nullptr;
};

TEST_F(PrintPreviewWindowTest, SheetsAreThoseThePrintJobEjectsInEveryModeOnLetterAndLegal) {
  Start(MakeSampleDayText(FindResource("Z"), {}));
  m_form->checkALL->click();
  const std::string printText = CheckedPrintText();
  ASSERT_GT(std::count(printText.begin(), printText.end(), '\f'), 10);
  const std::uint16_t jobNumber = m_form->State().jobNumber;
  const std::vector<std::string> filesBefore = ListFolder(BaseFolder());

  for (const bool legal : {false, true}) {
    // The canvas modes take the paper of the program's printer, the PCL modes the LegalBox.
    m_services.printing.printer->setPageSize(QPageSize(legal ? QPageSize::Legal : QPageSize::Letter));
    m_services.printing.printer->setPageOrientation(QPageLayout::Portrait);
    for (int mode = 0; mode < 8; ++mode) {
      SelectMode(mode, legal);
      const bool legalPaperBefore = m_form->State().legalPaper;
      const QString counterBefore = m_form->PrintCounter->text();
      int expected = 0;
      if (IsPclMode(mode)) {
        const std::string job = ComposePclJob(printText, ModeLetter(mode), legal, false);
        expected = static_cast<int>(std::count(job.begin(), job.end(), '\f'));
      } else {
        RecordingCanvas canvas(4800, legal ? 8200 : 6360);
        bool legalPaper = false;
        CanvasPrintText(printText, ModeLetter(mode), canvas, legalPaper);
        expected = canvas.Count(RecordingCanvas::Kind::Begin) + canvas.Count(RecordingCanvas::Kind::NewPage);
      }
      ASSERT_GT(expected, 10);
      const bool opened = OpenPreview([&](TPrintPreviewForm& preview) {
        EXPECT_EQ(preview.SheetCount(), expected) << "mode " << mode << " legal " << legal;
        EXPECT_EQ(preview.Preview->pageCount(), expected);
        EXPECT_EQ(preview.PreviewSheet->text(), QStringLiteral("Sheet 1 of %1").arg(expected));
        const QPageLayout layout = preview.PreviewPrinter().pageLayout();
        EXPECT_EQ(layout.pageSize().id(), legal ? QPageSize::Legal : QPageSize::Letter) << mode;
        EXPECT_EQ(layout.orientation(), ModeLetter(mode) == 'G' ? QPageLayout::Landscape : QPageLayout::Portrait);
        EXPECT_TRUE(preview.PreviewStatus->text().contains(
            QStringLiteral("job %1").arg(jobNumber + 1, 4, 10, QLatin1Char('0'))))
            << preview.PreviewStatus->text().toStdString();
      });
      EXPECT_TRUE(opened);
      // Nothing shared changed and no work file was left.
      EXPECT_EQ(m_form->State().jobNumber, jobNumber);
      EXPECT_EQ(m_form->State().legalPaper, legalPaperBefore);
      EXPECT_EQ(m_form->PrintCounter->text(), counterBefore);
      EXPECT_EQ(m_services.printing.printer->pageLayout().orientation(), QPageLayout::Portrait);
      EXPECT_TRUE(m_form->PrintButton->isEnabled());
      EXPECT_EQ(ListFolder(BaseFolder()), filesBefore);
    }
  }
  EXPECT_FALSE(m_profile.Exists(Base("Exec/Vantrose.JOB")));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(PrintPreviewWindowTest, PclTextIsDrawnAtTheWorkedExamplePositions) {
  // A01Tam01: 130 lines in blocks of 60 (the marker line and 59), 40 and 28, a box line
  // last; A02Tam02: one block of 112 lines.
  const std::string dayText = "\x0c@A01Tam01  Tam race 1\r\n" + NumberedLines("first ", 59) + "\r\n" +
                              NumberedLines("second ", 40) + "\r\n" + NumberedLines("third ", 27) +
                              "\xC9\xCD\xCD\xBB box\r\n" + "\x0c@A02Tam02  Tam race 2\r\n" +
                              NumberedLines("long ", 111);
  Start(dayText);
  ASSERT_GE(m_form->Pages().items.size(), 2u);
  struct Case {
    int mode;
    bool legal;
    std::string page;
    std::vector<std::vector<int>> sheetPositions;  // decipoints of each sheet's lines
    int x;                                         // decipoints
    double pitch;
    double height;
  };
  const auto positions = [](int count, int step, int blankAt = -1) {
    std::vector<int> ys;
    for (int i = 0; i < count; ++i)
      if (i != blankAt) ys.push_back(90 + i * step);
    return ys;
  };
  const Case cases[] = {
      // Letter paper, mode H: steps Round(7200 / 60) = 120 and Round(7200 / 69) = 104.
      {6, false, "A01Tam01", {positions(60, 120), positions(69, 104, 40)}, 1080, 16.67, 8.5},
      // Legal paper, mode J: Round(Round(7200 / 112) x 1.3) = 83.
      {4, true, "A02Tam02", {positions(112, 83)}, 540, 12, 10},
  };
  for (const Case& c : cases) {
    CheckOnly(c.page);
    // The paper is the LegalBox's, as PRINT would read it, whatever the last mode change stored.
    SelectMode(c.mode, false);
    m_printerX->LegalBox->setChecked(c.legal);
    ASSERT_TRUE(OpenPreview([&](TPrintPreviewForm& preview) {
      const int dpi = preview.PreviewPrinter().resolution();
      ASSERT_EQ(preview.SheetCount(), static_cast<int>(c.sheetPositions.size()));
      ASSERT_EQ(preview.PclSheets().sheets.size(), c.sheetPositions.size());
      for (std::size_t s = 0; s < c.sheetPositions.size(); ++s) {
        TextRecorder recorder(dpi);
        QPainter painter(&recorder);
        TPrintPreviewForm::DrawPclSheet(painter, preview.PclSheets().sheets[s]);
        painter.end();
        const std::vector<DrawnText>& drawn = recorder.Drawn();
        ASSERT_EQ(drawn.size(), c.sheetPositions[s].size()) << c.page << " sheet " << s;
        for (std::size_t i = 0; i < drawn.size(); ++i) {
          EXPECT_NEAR(drawn[i].position.x(), c.x * dpi / 720.0, 0.01) << i;
          EXPECT_NEAR(drawn[i].position.y(), c.sheetPositions[s][i] * dpi / 720.0, 0.01)
              << c.page << " " << s << " " << i;
        }
        // A fixed-pitch font of the job's height whose characters stand one pitch apart.
        const QFont& font = drawn.front().font;
        EXPECT_EQ(font.pixelSize(), std::lround(c.height * dpi / 72));
        EXPECT_TRUE(QFontInfo(font).fixedPitch());
        // Qt keeps letter spacing in 1/64 screen pixel, so the pitch is met to a tenth of a device pixel.
        for (const DrawnText& text : drawn)
          EXPECT_NEAR(text.width / static_cast<double>(text.text.size()), dpi / c.pitch, 0.1)
              << text.text.toStdString();
      }
      if (c.page == "A01Tam01") {
        // The first line is the marker line; the box line shows its code page 437 characters.
        TextRecorder recorder(dpi);
        QPainter painter(&recorder);
        TPrintPreviewForm::DrawPclSheet(painter, preview.PclSheets().sheets[1]);
        EXPECT_EQ(recorder.Drawn().back().text, QString::fromUtf8("\u2554\u2550\u2550\u2557 box"));
      }
      EXPECT_TRUE(preview.PreviewStatus->text().contains(QLatin1String(c.legal ? "legal paper" : "letter paper")));
      EXPECT_EQ(preview.PreviewPrinter().pageLayout().pageSize().id(), c.legal ? QPageSize::Legal : QPageSize::Letter);
    }));
    EXPECT_FALSE(m_form->State().legalPaper);
  }
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(PrintPreviewWindowTest, PrintFromThePreviewIsPrintAndCloseIsNothing) {
  Start(MakeSampleDayText(FindResource("Z"), {}));
  SelectMode(4, false);
  const std::uint16_t jobNumber = m_form->State().jobNumber;
  ASSERT_TRUE(OpenPreview([](TPrintPreviewForm&) {}, QDialog::Rejected));
  EXPECT_EQ(m_form->State().jobNumber, jobNumber);
  EXPECT_EQ(m_form->PrintCounter->text(), QStringLiteral("    "));

  // Print: PRINT runs, the job number advances and is kept, the work files are gone.
  m_printerX->LegalBox->setChecked(true);
  ASSERT_TRUE(OpenPreview([](TPrintPreviewForm&) {}, QDialog::Accepted));
  EXPECT_EQ(m_form->State().jobNumber, jobNumber + 1);
  EXPECT_TRUE(m_form->State().legalPaper);  // PRINT took the LegalBox
  EXPECT_EQ(m_profile.Read(Base("Exec/Vantrose.JOB")),
            JobNumberText(static_cast<std::uint16_t>(jobNumber + 1)) + "\r\n");
  EXPECT_NE(m_form->PrintCounter->text(), QStringLiteral("    "));
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PRN")));
  EXPECT_FALSE(m_profile.Exists(Base("Vantrose.PCL")));
}

TEST_F(PrintPreviewWindowTest, SheetButtonsStepThroughTheSheetsAndStopAtTheEnds) {
  Start(MakeSampleDayText(FindResource("Z"), {}));
  SelectMode(7, false);
  ASSERT_TRUE(OpenPreview([](TPrintPreviewForm& preview) {
    const int sheets = preview.SheetCount();
    ASSERT_GT(sheets, 2);
    EXPECT_FALSE(preview.PreviewPrevious->isEnabled());
    preview.PreviewNext->click();
    EXPECT_EQ(preview.CurrentSheet(), 2);
    EXPECT_EQ(preview.PreviewSheet->text(), QStringLiteral("Sheet 2 of %1").arg(sheets));
    EXPECT_TRUE(preview.PreviewPrevious->isEnabled());
    for (int i = 0; i < sheets + 2; ++i) preview.PreviewNext->click();
    EXPECT_EQ(preview.CurrentSheet(), sheets);
    EXPECT_FALSE(preview.PreviewNext->isEnabled());
    preview.PreviewPrevious->click();
    EXPECT_EQ(preview.CurrentSheet(), sheets - 1);
    const qreal zoom = preview.Preview->zoomFactor();
    preview.PreviewZoomIn->click();
    EXPECT_GT(preview.Preview->zoomFactor(), zoom);
  }));
}

TEST_F(PrintPreviewWindowTest, NothingCheckedSaysSoAndOpensNoPreview) {
  Start(MakeSampleDayText(FindResource("Z"), {}));
  EXPECT_EQ(m_form->PrintPreviewMenu->text(), QStringLiteral("Print Pre&view"));
  EXPECT_EQ(m_form->PrintPreviewMenu->shortcut(), QKeySequence(Qt::Key_F2));
  m_form->clearALL->click();
  EXPECT_FALSE(OpenPreview([](TPrintPreviewForm&) {}));
  EXPECT_EQ(m_messages, std::vector<std::string>{"No page is checked."});
  EXPECT_TRUE(m_form->PrintButton->isEnabled());
}

}  // namespace
