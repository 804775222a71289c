#include "canvas/ui/simo_options_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "platform/system/fonts.h"
#include "platform/system/place.h"
#include "platform/system/up_down.h"

namespace {

QLabel* MakePanel(QWidget* parent, const char* name, int top) {
  auto* panel = Place(new QLabel(parent), name, 420, top, 60, 60);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAlignment(Qt::AlignCenter);
  panel->setFont(WindowFont("Lucida Console", 27));
  return panel;
}

UpDown* MakeLinesUpDown(QWidget* parent, const char* name, int top) {
  auto* upDown = Place(new UpDown(parent), name, 480, top, 60, 60);
  upDown->SetRange(kSimoLeastLines, kSimoMostLines);
  upDown->SetIncrement(kSimoLinesStep);
  return upDown;
}

}  // namespace

TSimoOpts::TSimoOpts(QWidget* parent, ShowMessageFn showMessage)
    : QDialog(parent), m_showMessage(std::move(showMessage)) {
  setObjectName(QStringLiteral("SimoOpts"));
  setWindowTitle(QStringLiteral("SimoOpts"));
  setFixedSize(640, 480);

  OPTIMUMlabel = Place(new QLabel(QStringLiteral("OPTIMUM lines per page"), this), "OPTIMUMlabel", 120, 60, 300, 60);
  OptimumPanel = MakePanel(this, "OptimumPanel", 60);
  OptimumLines = MakeLinesUpDown(this, "OptimumLines", 60);
  MAXIMUMlabel = Place(new QLabel(QStringLiteral("MAXIMUM lines per page"), this), "MAXIMUMlabel", 120, 150, 300, 60);
  MaximumPanel = MakePanel(this, "MaximumPanel", 150);
  MaximumLines = MakeLinesUpDown(this, "MaximumLines", 150);
  for (QLabel* label : {OPTIMUMlabel, MAXIMUMlabel}) {
    label->setAlignment(Qt::AlignCenter);
    label->setFont(WindowFont("Lucida Sans Unicode", 16));
  }

  x2 = Place(new QCheckBox(QStringLiteral("Use 2-up format if it fits on a single page"), this), "x2", 120, 255, 360,
             60);
  x2->setLayoutDirection(Qt::RightToLeft);  // the caption on the left of the box
  x2->setFont(WindowFont("Lucida Sans Unicode", 16));

  OK = Place(new QPushButton(QStringLiteral("OK"), this), "OK", 450, 360, 90, 60);
  OK->setFont(WindowFont("Lucida Console", 27));

  setTabOrder(OptimumLines, MaximumLines);
  setTabOrder(MaximumLines, x2);
  setTabOrder(x2, OK);

  connect(OptimumLines, &UpDown::Clicked, this, [this] { OptimumLinesClick(); });
  connect(MaximumLines, &UpDown::Clicked, this, [this] { MaximumLinesClick(); });
  connect(x2, &QCheckBox::clicked, this, [this] { x2Click(); });
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);

  Load(SimoOptions{});
}

void TSimoOpts::Load(const SimoOptions& options) {
  m_working = options;
  ShowWorkingValues();
}

void TSimoOpts::ShowWorkingValues() {
  OptimumLines->SetPosition(m_working.optimumLines);
  MaximumLines->SetPosition(m_working.maximumLines);
  OptimumPanel->setText(QString::number(m_working.optimumLines));
  MaximumPanel->setText(QString::number(m_working.maximumLines));
  x2->setChecked(m_working.twoUp);
}

void TSimoOpts::OptimumLinesClick() {
  SetSimoOptimum(m_working, static_cast<std::uint16_t>(OptimumLines->Position()));
  ShowWorkingValues();
}

void TSimoOpts::MaximumLinesClick() {
  SetSimoMaximum(m_working, static_cast<std::uint16_t>(MaximumLines->Position()));
  ShowWorkingValues();
}

void TSimoOpts::x2Click() { m_working.twoUp = x2->isChecked(); }

bool TSimoOpts::KeyAddressedToDialog() const {
  const QWidget* focus = focusWidget();
  return focus == nullptr || focus == this;
}

void TSimoOpts::keyPressEvent(QKeyEvent* event) {
  // A key a focused control did not take comes here too; it gets the dialog's
  // usual handling (Escape closes as the close box does) and no message.
  if (!KeyAddressedToDialog()) {
    QDialog::keyPressEvent(event);
    return;
  }
  m_showMessage("KEYDOWN");
  if (!event->text().isEmpty()) m_showMessage("KEYPRESS");  // a key that types a character
}

void TSimoOpts::keyReleaseEvent(QKeyEvent* event) {
  if (!KeyAddressedToDialog() || event->isAutoRepeat()) {
    QDialog::keyReleaseEvent(event);
    return;
  }
  m_showMessage("KEYUP");
}
