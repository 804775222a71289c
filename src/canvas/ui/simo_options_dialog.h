// The simulcast schedule options dialog ("SimoOpts"): the optimum and maximum
// lines per page on two up-downs that drag each other, and the 2-up choice.
// Values in before it opens (Load), working values out after OK (Values); it
// touches no file and no shared state. Keys addressed to the dialog itself,
// not to one of its controls, are answered with a message box.
#pragma once

#include <QDialog>

#include "canvas/simo_options.h"
#include "platform/message_box.h"

class QCheckBox;
class QLabel;
class QPushButton;
class UpDown;

class TSimoOpts final : public QDialog {
  Q_OBJECT
 public:
  // `showMessage` shows the key messages.
  explicit TSimoOpts(QWidget* parent, ShowMessageFn showMessage = SystemMessageBox());

  // Puts `options` into the controls and the working values (FormCreate and the
  // main window's optionsClick).
  void Load(const SimoOptions& options);
  // The working values; the caller keeps them only when the dialog closed with OK.
  const SimoOptions& Values() const { return m_working; }

  // Controls, named as in the window definition.
  QLabel* OPTIMUMlabel = nullptr;
  QLabel* OptimumPanel = nullptr;
  UpDown* OptimumLines = nullptr;
  QLabel* MAXIMUMlabel = nullptr;
  QLabel* MaximumPanel = nullptr;
  UpDown* MaximumLines = nullptr;
  QCheckBox* x2 = nullptr;
  QPushButton* OK = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void OptimumLinesClick();
  void MaximumLinesClick();
  void x2Click();
  void ShowWorkingValues();
  // True when no control of the dialog has the keyboard focus, so a key event
  // reaching the dialog was not first offered to a control.
  bool KeyAddressedToDialog() const;

  ShowMessageFn m_showMessage;
  SimoOptions m_working;
};
