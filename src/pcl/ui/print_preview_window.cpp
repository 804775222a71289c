#include "pcl/ui/print_preview_window.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "canvas/canvas_print.h"
#include "pcl/pcl_reader.h"
#include "pcl/print_commands.h"
#include "platform/system/fonts.h"
#include "platform/system/qt_printer_canvas.h"

namespace {

constexpr int kInitialWidth = 860;
constexpr int kInitialHeight = 940;
constexpr qreal kZoomStep = 1.25;

// The fixed-pitch font of a PCL run: the family with the code page 437 glyphs at the
// run's height, its characters `advance` device pixels apart on `device`. The glyphs are
// narrowed or widened to the pitch, and a letter spacing takes up what the whole-percent
// stretch leaves. Qt measures absolute spacing in screen pixels and scales it to the
// device, so one unit of spacing is measured on the device first.
QFont PitchFont(double pixelHeight, double advance, QPaintDevice* device) {
  QFont font = WindowFont("Lucida Console", std::max(1, static_cast<int>(std::lround(pixelHeight))));
  font.setKerning(false);
  const qreal natural = QFontMetricsF(font, device).horizontalAdvance(QStringLiteral("M"));
  if (natural <= 0) return font;
  font.setStretch(std::clamp(static_cast<int>(std::lround(100 * advance / natural)), 1, 4000));
  const qreal stretched = QFontMetricsF(font, device).horizontalAdvance(QStringLiteral("M"));
  QFont probe = font;
  probe.setLetterSpacing(QFont::AbsoluteSpacing, 1);
  const qreal unit = QFontMetricsF(probe, device).horizontalAdvance(QStringLiteral("M")) - stretched;
  if (unit > 0) font.setLetterSpacing(QFont::AbsoluteSpacing, (advance - stretched) / unit);
  return font;
}

QString ModeCaption(int printMode) {
  const std::string_view name = PrintModeName(printMode);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

TPrintPreviewForm::TPrintPreviewForm(QWidget* parent, PrintPreviewJob job, const QPrinter& printer)
    : QDialog(parent), m_job(std::move(job)), m_printer(QPrinter::HighResolution) {
  setObjectName(QStringLiteral("PrintPreviewForm"));
  setWindowTitle(QStringLiteral("Print Preview"));
  // The preview's printer only records the sheets; it is never printed to. It takes the
  // program printer's paper, margins and resolution, so the canvas layout computes the
  // same positions as when printing.
  m_printer.setOutputFormat(QPrinter::PdfFormat);
  m_printer.setResolution(printer.resolution());
  m_printer.setPageLayout(printer.pageLayout());
  if (IsPclMode(m_job.printMode)) {
    m_pclSheets = LayPclSheets(ParsePclJob(m_job.pclJob), m_printer.resolution());
    // The preview shows every sheet on one paper: the first sheet's (a job of this
    // program keeps its paper and orientation throughout).
    PclSheet first;
    first.paper = m_job.legalPaper ? PclPaper::Legal : PclPaper::Letter;
    if (!m_pclSheets.sheets.empty()) first = m_pclSheets.sheets.front();
    m_printer.setFullPage(true);
    m_printer.setPageLayout(
        QPageLayout(QPageSize(first.paper == PclPaper::Legal ? QPageSize::Legal : QPageSize::Letter),
                    first.orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(0, 0, 0, 0)));
  }
  CreateComponents();
  Preview->updatePreview();
  ShowSheetNumber();
}

void TPrintPreviewForm::CreateComponents() {
  setFont(WindowFont("MS Sans Serif", 13));
  resize(kInitialWidth, kInitialHeight);

  auto button = [this](const char* name, const QString& caption) {
    auto* created = new QPushButton(caption, this);
    created->setObjectName(QString::fromLatin1(name));
    created->setFont(WindowFont("Lucida Sans", 13, FontWeight::Bold));
    created->setAutoDefault(false);
    return created;
  };
  PreviewPrint = button("PreviewPrint", QStringLiteral("&Print"));
  PreviewClose = button("PreviewClose", QStringLiteral("&Close"));
  PreviewPrevious = button("PreviewPrevious", QStringLiteral("< Sheet"));
  PreviewNext = button("PreviewNext", QStringLiteral("Sheet >"));
  PreviewZoomIn = button("PreviewZoomIn", QStringLiteral("Zoom +"));
  PreviewZoomOut = button("PreviewZoomOut", QStringLiteral("Zoom -"));
  PreviewFitWidth = button("PreviewFitWidth", QStringLiteral("Fit &Width"));
  PreviewWholeSheet = button("PreviewWholeSheet", QStringLiteral("Whole &Sheet"));
  PreviewPrevious->setShortcut(QKeySequence(Qt::Key_PageUp));
  PreviewNext->setShortcut(QKeySequence(Qt::Key_PageDown));
  PreviewZoomIn->setShortcut(QKeySequence::ZoomIn);
  PreviewZoomOut->setShortcut(QKeySequence::ZoomOut);

  PreviewSheet = new QLabel(this);
  PreviewSheet->setObjectName(QStringLiteral("PreviewSheet"));
  PreviewSheet->setFont(WindowFont("Lucida Console", 13));
  PreviewStatus = new QLabel(this);
  PreviewStatus->setObjectName(QStringLiteral("PreviewStatus"));
  PreviewStatus->setFont(WindowFont("Lucida Console", 12));

  Preview = new QPrintPreviewWidget(&m_printer, this);
  Preview->setObjectName(QStringLiteral("Preview"));
  Preview->setViewMode(QPrintPreviewWidget::SinglePageView);
  Preview->setZoomMode(QPrintPreviewWidget::FitInView);

  auto* tools = new QHBoxLayout;
  for (QWidget* widget :
       std::initializer_list<QWidget*>{PreviewPrint, PreviewClose, PreviewPrevious, PreviewSheet, PreviewNext,
                                       PreviewZoomOut, PreviewZoomIn, PreviewFitWidth, PreviewWholeSheet})
    tools->addWidget(widget);
  tools->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(PreviewStatus);
  layout->addWidget(Preview, 1);

  connect(Preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) { PaintSheets(target); });
  connect(Preview, &QPrintPreviewWidget::previewChanged, this, [this] { ShowSheetNumber(); });
  connect(PreviewPrint, &QPushButton::clicked, this, &QDialog::accept);
  connect(PreviewClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(PreviewPrevious, &QPushButton::clicked, this, [this] {
    Preview->setCurrentPage(std::max(1, Preview->currentPage() - 1));
    ShowSheetNumber();
  });
  connect(PreviewNext, &QPushButton::clicked, this, [this] {
    Preview->setCurrentPage(std::min(Preview->pageCount(), Preview->currentPage() + 1));
    ShowSheetNumber();
  });
  connect(PreviewZoomIn, &QPushButton::clicked, this, [this] { Preview->zoomIn(kZoomStep); });
  connect(PreviewZoomOut, &QPushButton::clicked, this, [this] { Preview->zoomOut(kZoomStep); });
  connect(PreviewFitWidth, &QPushButton::clicked, this, [this] { Preview->fitToWidth(); });
  connect(PreviewWholeSheet, &QPushButton::clicked, this, [this] { Preview->fitInView(); });

  QString status = ModeCaption(m_job.printMode) + QStringLiteral("    job ") +
                   QString::fromLatin1(m_job.jobNumberText.data(), static_cast<qsizetype>(m_job.jobNumberText.size()));
  if (IsPclMode(m_job.printMode)) {
    status += m_job.legalPaper ? QStringLiteral("    legal paper") : QStringLiteral("    letter paper");
    if (m_job.duplexPrint) status += QStringLiteral("    duplex");
    const int skipped = m_pclSheets.unknownCommands + m_pclSheets.malformedCommands;
    if (skipped > 0) status += QStringLiteral("    %1 unknown commands skipped").arg(skipped);
  }
  PreviewStatus->setText(status);
}

int TPrintPreviewForm::SheetCount() const { return Preview->pageCount(); }

int TPrintPreviewForm::CurrentSheet() const { return SheetCount() == 0 ? 0 : Preview->currentPage(); }

void TPrintPreviewForm::ShowSheetNumber() {
  PreviewSheet->setText(QStringLiteral("Sheet %1 of %2").arg(CurrentSheet()).arg(SheetCount()));
  PreviewPrevious->setEnabled(CurrentSheet() > 1);
  PreviewNext->setEnabled(CurrentSheet() < SheetCount());
}

void TPrintPreviewForm::PaintSheets(QPrinter* printer) {
  // A slot: nothing may leave it. A printer that will not record shows as an empty preview
  // with the reason in the status line.
  try {
    if (IsPclMode(m_job.printMode)) {
      PaintPclSheets(printer);
    } else {
      PaintCanvasSheets(printer);
    }
  } catch (const std::exception& error) {
    PreviewStatus->setText(PreviewStatus->text() + QStringLiteral("    ") + QString::fromLocal8Bit(error.what()));
  }
}

void TPrintPreviewForm::PaintCanvasSheets(QPrinter* printer) {
  QtPrinterCanvas canvas(*printer);
  // Canvas printing sets the legal flag from the sheet's shape; here a copy takes it, so the
  // shared value stays as it is.
  bool legalPaper = m_job.legalPaper;
  CanvasPrintText(m_job.printText, m_job.modeLetter, canvas, legalPaper);
}

void TPrintPreviewForm::PaintPclSheets(QPrinter* printer) {
  if (m_pclSheets.sheets.empty()) return;
  QPainter painter;
  if (!painter.begin(printer)) throw PrintFailure("The preview could not draw the sheets.");
  bool first = true;
  for (const PclSheet& sheet : m_pclSheets.sheets) {
    if (!first) printer->newPage();
    first = false;
    DrawPclSheet(painter, sheet);
  }
  painter.end();
}

void TPrintPreviewForm::DrawPclSheet(QPainter& painter, const PclSheet& sheet) {
  double fontHeight = -1;
  double fontAdvance = -1;
  painter.setPen(Qt::black);
  for (const PclPlacedRun& run : sheet.runs) {
    if (run.pixelHeight != fontHeight || run.advance != fontAdvance) {
      painter.setFont(PitchFont(run.pixelHeight, run.advance, painter.device()));
      fontHeight = run.pixelHeight;
      fontAdvance = run.advance;
    }
    // The PCL cursor stands on the baseline, where QPainter draws text too.
    painter.drawText(QPointF(run.x, run.y), QString::fromUtf8(PclRunText(run.bytes, run.pc8)));
  }
}
