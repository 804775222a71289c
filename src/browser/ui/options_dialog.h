// The report and track options dialog: which track groups and report kinds the page
// list shows and how many performance lines an E page keeps. Values in before it
// opens, values out after OK; it touches no setting, no file and no list.
#pragma once

#include <QDialog>

#include "browser/options.h"

class QLabel;
class QListWidget;
class QPushButton;
class UpDown;

class TOptionsForm final : public QDialog {
  Q_OBJECT
 public:
  explicit TOptionsForm(QWidget* parent);

  // Fills every control from `choice`; nothing is kept from an earlier opening.
  void Load(const OptionsChoice& choice);
  // What the controls show now.
  OptionsChoice Choice() const;

  // Components, named as in the window definitions.
  QListWidget* TrackOptions = nullptr;
  QListWidget* ReportOptions = nullptr;
  QLabel* emaxlabel = nullptr;
  QLabel* emaxpanel = nullptr;
  UpDown* emaxupdown = nullptr;
  QPushButton* CheckAllTracks = nullptr;
  QPushButton* ClearAllTracks = nullptr;
  QPushButton* OptionsOk = nullptr;

 private:
  void emaxupdownClick();
  void CheckAllTracksClick();
  void ClearAllTracksClick();
  void OptionsOkClick();
};
