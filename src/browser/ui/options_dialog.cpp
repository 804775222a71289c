#include "browser/ui/options_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "platform/system/fonts.h"
#include "platform/system/place.h"
#include "platform/system/up_down.h"

namespace {

// The client area just holds the controls: the OK button is the right-most, the
// track buttons the lowest.
constexpr int kClientWidth = 558;
constexpr int kClientHeight = 424;
constexpr int kTrackItemHeight = 15;
constexpr int kReportItemHeight = 23;

QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Rows of the height the window definitions give, each as wide as its check box and
// text need: the list stretches them over its visible width and shows a sideways
// scroll bar only when an item really is wider.
class FixedHeightRows final : public QStyledItemDelegate {
 public:
  FixedHeightRows(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), m_height};
  }

 private:
  int m_height;
};

void SetRowHeight(QListWidget* list, int height) { list->setItemDelegate(new FixedHeightRows(height, list)); }

void AddCheckItem(QListWidget* list, const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void ShowFromTheTop(QListWidget* list) {
  list->scrollToTop();
  list->horizontalScrollBar()->setValue(0);
}

void SetAllChecks(QListWidget* list, bool checked) {
  for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool IsChecked(const QListWidget* list, int row) { return list->item(row)->checkState() == Qt::Checked; }

}  // namespace

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionsForm"));
  setWindowTitle(QStringLiteral("Options"));
  setFont(WindowFont("MS Sans Serif", 11));
  setFixedSize(kClientWidth, kClientHeight);

  TrackOptions = Place(new QListWidget(this), "TrackOptions", 0, 0, 240, 394);
  TrackOptions->setFont(WindowFont("Courier New", 12));
  SetRowHeight(TrackOptions, kTrackItemHeight);

  ReportOptions = Place(new QListWidget(this), "ReportOptions", 255, 15, 300, 100);
  ReportOptions->setFont(WindowFont("Courier New", 21));
  SetRowHeight(ReportOptions, kReportItemHeight);
  for (std::string_view text : kReportOptionTexts) AddCheckItem(ReportOptions, FromLatin1(text), false);

  emaxlabel = new QLabel(QStringLiteral("Maximum performance lines =  "), this);
  emaxlabel->setObjectName(QStringLiteral("emaxlabel"));
  emaxlabel->setFont(WindowFont("Lucida Sans", 16));
  emaxlabel->adjustSize();
  emaxlabel->move(255, 189);

  emaxpanel = Place(new QLabel(this), "emaxpanel", 489, 180, 30, 40);
  emaxpanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  emaxpanel->setLineWidth(1);
  emaxpanel->setAlignment(Qt::AlignCenter);
  emaxpanel->setAutoFillBackground(true);
  emaxpanel->setBackgroundRole(QPalette::Window);
  emaxpanel->setFont(WindowFont("Courier New", 19));

  emaxupdown = Place(new UpDown(this), "emaxupdown", 522, 181, 30, 40);
  emaxupdown->SetRange(kMinPerfLines, kMaxPerfLines);
  emaxupdown->SetWrap(false);
  connect(emaxupdown, &UpDown::Clicked, this, [this] { emaxupdownClick(); });

  CheckAllTracks = Place(new QPushButton(QStringLiteral("Chec&k All"), this), "CheckAllTracks", 8, 400, 105, 24);
  CheckAllTracks->setFont(WindowFont("Lucida Sans", 16));
  connect(CheckAllTracks, &QPushButton::clicked, this, [this] { CheckAllTracksClick(); });

  ClearAllTracks = Place(new QPushButton(QStringLiteral("Clea&r All"), this), "ClearAllTracks", 122, 400, 105, 24);
  ClearAllTracks->setFont(WindowFont("MS Sans Serif", 16));
  connect(ClearAllTracks, &QPushButton::clicked, this, [this] { ClearAllTracksClick(); });

  OptionsOk = Place(new QPushButton(QStringLiteral("OK"), this), "OptionsOk", 450, 360, 108, 54);
  OptionsOk->setFont(WindowFont("Lucida Sans", 24));
  connect(OptionsOk, &QPushButton::clicked, this, [this] { OptionsOkClick(); });

  // No default button: Enter in a list would otherwise press the first button (and check
  // every track group) or confirm the dialog. Only a click on OK, or Space on it, applies.
  for (QPushButton* button : {CheckAllTracks, ClearAllTracks, OptionsOk}) button->setAutoDefault(false);
}

void TOptionsForm::Load(const OptionsChoice& choice) {
  for (std::size_t i = 0; i < choice.reportKinds.size(); ++i)
    ReportOptions->item(static_cast<int>(i))->setCheckState(choice.reportKinds[i] ? Qt::Checked : Qt::Unchecked);
  TrackOptions->clear();
  for (const TrackOption& track : choice.tracks) AddCheckItem(TrackOptions, FromLatin1(track.text), track.checked);
  // Every opening shows the first report kind and the first group, whatever was scrolled to before.
  ShowFromTheTop(ReportOptions);
  ShowFromTheTop(TrackOptions);
  emaxupdown->SetPosition(choice.maxPerfLines);
  emaxupdownClick();
}

OptionsChoice TOptionsForm::Choice() const {
  OptionsChoice choice;
  for (std::size_t i = 0; i < choice.reportKinds.size(); ++i)
    choice.reportKinds[i] = IsChecked(ReportOptions, static_cast<int>(i));
  for (int row = 0; row < TrackOptions->count(); ++row)
    choice.tracks.push_back({TrackOptions->item(row)->text().toStdString(), IsChecked(TrackOptions, row)});
  choice.maxPerfLines = emaxupdown->Position();
  return choice;
}

void TOptionsForm::emaxupdownClick() { emaxpanel->setText(QString::number(emaxupdown->Position())); }

void TOptionsForm::CheckAllTracksClick() { SetAllChecks(TrackOptions, true); }

void TOptionsForm::ClearAllTracksClick() { SetAllChecks(TrackOptions, false); }

void TOptionsForm::OptionsOkClick() { accept(); }
