#include "pcl/ui/printer_options_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/printers.h"
#include "platform/system/fonts.h"

TPrinterXForm::TPrinterXForm(QWidget* parent, CurrentPrinter& currentPrinter)
    : QDialog(parent), m_currentPrinter(currentPrinter) {
  setObjectName(QStringLiteral("PrinterXForm"));
  setWindowTitle(QStringLiteral("PCL Printer Options"));
  setFixedSize(500, 300);
  setFont(WindowFont("MS Sans Serif", 11));

  PrinterList = new QGroupBox(QStringLiteral("Available Printers"), this);
  PrinterList->setObjectName(QStringLiteral("PrinterList"));
  PrinterList->setGeometry(8, 32, 289, 137);
  new QVBoxLayout(PrinterList);
  m_printerButtons = new QButtonGroup(this);

  SelectOK = new QPushButton(QStringLiteral("OK"), this);
  SelectOK->setObjectName(QStringLiteral("SelectOK"));
  SelectOK->setGeometry(24, 224, 75, 25);
  SelectOK->setFont(WindowFont("Lucida Console", 16));
  connect(SelectOK, &QPushButton::clicked, this, [this] { SelectOKClick(); });

  DuplexBox = new QCheckBox(QStringLiteral("Duplex"), this);
  DuplexBox->setObjectName(QStringLiteral("DuplexBox"));
  DuplexBox->setGeometry(336, 40, 97, 17);
  LegalBox = new QCheckBox(QStringLiteral("Legal"), this);
  LegalBox->setObjectName(QStringLiteral("LegalBox"));
  LegalBox->setGeometry(336, 64, 97, 17);
  for (QCheckBox* box : {DuplexBox, LegalBox}) box->setFont(WindowFont("Lucida Console", 12));

  // Offered as on the original printers' panels; no output depends on it.
  Darkness = new QGroupBox(this);
  Darkness->setObjectName(QStringLiteral("Darkness"));
  Darkness->setGeometry(328, 88, 120, 105);
  auto* darknessLayout = new QVBoxLayout(Darkness);
  m_darknessButtons = new QButtonGroup(this);
  for (const char* level : {"Light", "Medium", "Dark", "ExtraDark"}) {
    auto* button = new QRadioButton(QString::fromLatin1(level), Darkness);
    darknessLayout->addWidget(button);
    m_darknessButtons->addButton(button);
  }

  FormCreate();
}

void TPrinterXForm::FormCreate() {
  int index = 0;
  for (const std::string& name : m_currentPrinter.Names()) {
    auto* button = new QRadioButton(QString::fromStdString(name), PrinterList);
    PrinterList->layout()->addWidget(button);
    m_printerButtons->addButton(button, index++);
  }
  m_savedPrinterIndex = m_currentPrinter.Index();
  SelectPrinter(m_savedPrinterIndex);
}

bool TPrinterXForm::LegalChecked() const { return LegalBox->isChecked(); }

bool TPrinterXForm::DuplexChecked() const { return DuplexBox->isChecked(); }

int TPrinterXForm::SelectedPrinterIndex() const { return m_printerButtons->checkedId(); }

void TPrinterXForm::SelectPrinter(int index) {
  if (QAbstractButton* button = m_printerButtons->button(index)) {
    button->setChecked(true);
    return;
  }
  // No item for the index: none is selected.
  m_printerButtons->setExclusive(false);
  for (QAbstractButton* button : m_printerButtons->buttons()) button->setChecked(false);
  m_printerButtons->setExclusive(true);
}

void TPrinterXForm::SelectOKClick() {
  m_savedPrinterIndex = SelectedPrinterIndex();
  m_currentPrinter.Select(m_savedPrinterIndex);
  accept();
}

void TPrinterXForm::showEvent(QShowEvent* event) {
  m_savedPrinterIndex = m_currentPrinter.Index();
  SelectPrinter(m_savedPrinterIndex);
  QDialog::showEvent(event);
}

void TPrinterXForm::done(int result) {
  FormClose();
  QDialog::done(result);
}

// Shows the printer last confirmed: after OK the one just chosen, otherwise it undoes
// a choice that was not confirmed.
void TPrinterXForm::FormClose() { SelectPrinter(m_savedPrinterIndex); }
