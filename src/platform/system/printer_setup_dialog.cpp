#include "platform/system/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/printers.h"
#include "platform/system/printing_services.h"

TPrinterSetupDialog::TPrinterSetupDialog(QWidget* parent, CurrentPrinter& currentPrinter, QPrinter& canvasPrinter)
    : QDialog(parent), m_currentPrinter(currentPrinter), m_canvasPrinter(canvasPrinter) {
  setObjectName(QStringLiteral("PrinterSetupDialog1"));
  setWindowTitle(QStringLiteral("Print Setup"));

  auto* printerGroup = new QGroupBox(QStringLiteral("Printer"), this);
  auto* printerForm = new QFormLayout(printerGroup);
  PrinterName = new QComboBox(printerGroup);
  PrinterName->setObjectName(QStringLiteral("PrinterName"));
  for (const std::string& name : m_currentPrinter.Names()) PrinterName->addItem(QString::fromStdString(name));
  printerForm->addRow(QStringLiteral("&Name:"), PrinterName);

  auto* paperGroup = new QGroupBox(QStringLiteral("Paper"), this);
  auto* paperForm = new QFormLayout(paperGroup);
  PaperSize = new QComboBox(paperGroup);
  PaperSize->setObjectName(QStringLiteral("PaperSize"));
  paperForm->addRow(QStringLiteral("Si&ze:"), PaperSize);
  Portrait = new QRadioButton(QStringLiteral("Po&rtrait"), paperGroup);
  Portrait->setObjectName(QStringLiteral("Portrait"));
  Landscape = new QRadioButton(QStringLiteral("&Landscape"), paperGroup);
  Landscape->setObjectName(QStringLiteral("Landscape"));
  auto* orientation = new QHBoxLayout;
  orientation->addWidget(Portrait);
  orientation->addWidget(Landscape);
  orientation->addStretch();
  paperForm->addRow(QStringLiteral("Orientation:"), orientation);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  OkButton = buttons->button(QDialogButtonBox::Ok);
  OkButton->setObjectName(QStringLiteral("OkButton"));
  CancelButton = buttons->button(QDialogButtonBox::Cancel);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(printerGroup);
  layout->addWidget(paperGroup);
  layout->addWidget(buttons);

  const bool anyPrinter = PrinterName->count() > 0;
  PrinterName->setEnabled(anyPrinter);
  paperGroup->setEnabled(anyPrinter);
  (m_canvasPrinter.pageLayout().orientation() == QPageLayout::Landscape ? Landscape : Portrait)->setChecked(true);
  PrinterName->setCurrentIndex(m_currentPrinter.Index());
  ShowPrinter(PrinterName->currentIndex());

  connect(PrinterName, &QComboBox::currentIndexChanged, this, [this](int index) { ShowPrinter(index); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { OkClick(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TPrinterSetupDialog::ShowPrinter(int index) {
  PaperSize->clear();
  m_sizes.clear();
  if (index < 0) return;
  const QString name = PrinterName->itemText(index);
  const QPrinterInfo info = QPrinterInfo::printerInfo(name);
  const QPageSize current =
      LaidOutOn(m_canvasPrinter, name) ? m_canvasPrinter.pageLayout().pageSize() : PrinterPaper(info);
  for (const QPageSize& size : info.supportedPageSizes()) m_sizes.push_back(size);
  // A printer that names no paper (a raw queue) is offered the program's papers.
  if (m_sizes.empty()) m_sizes = {QPageSize(QPageSize::Letter), QPageSize(QPageSize::Legal), QPageSize(QPageSize::A4)};
  int selected = -1;
  for (std::size_t i = 0; i < m_sizes.size(); ++i) {
    PaperSize->addItem(m_sizes[i].name());
    if (selected < 0 && m_sizes[i].isEquivalentTo(current)) selected = static_cast<int>(i);
  }
  if (selected < 0) {
    m_sizes.push_back(current);
    PaperSize->addItem(current.name());
    selected = PaperSize->count() - 1;
  }
  PaperSize->setCurrentIndex(selected);
}

void TPrinterSetupDialog::OkClick() {
  const int printer = PrinterName->currentIndex();
  const int paper = PaperSize->currentIndex();
  if (printer >= 0 && paper >= 0) {
    m_currentPrinter.Select(printer);
    UsePrinterPaper(m_canvasPrinter, m_currentPrinter.DeviceName(), m_sizes[static_cast<std::size_t>(paper)]);
    m_canvasPrinter.setPageOrientation(Landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  accept();
}
