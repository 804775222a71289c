// "Print Setup", the printer setup of the WIN print modes: pick one of the
// installed printers, its paper size and the orientation. OK makes the chosen
// printer the current printer of the run (what every print family then prints
// to) and the paper the one canvas jobs are laid out on; Cancel and the close
// box change nothing. It prints nothing: no Print button, no output to a file,
// no page range.
#pragma once

#include <QDialog>
#include <QPageSize>
#include <vector>

class CurrentPrinter;
class QComboBox;
class QPrinter;
class QPushButton;
class QRadioButton;

class TPrinterSetupDialog final : public QDialog {
  Q_OBJECT
 public:
  // Opens on the current printer and the paper `canvasPrinter` holds for it;
  // `canvasPrinter` is the printer canvas jobs are laid out on. Both outlive the dialog.
  TPrinterSetupDialog(QWidget* parent, CurrentPrinter& currentPrinter, QPrinter& canvasPrinter);

  QComboBox* PrinterName = nullptr;
  QComboBox* PaperSize = nullptr;
  QRadioButton* Portrait = nullptr;
  QRadioButton* Landscape = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

 private:
  // Lists the paper sizes of printer `index` and selects the one it prints on now: the
  // paper set up before when canvas jobs are laid out on it, else its own default.
  void ShowPrinter(int index);
  void OkClick();

  CurrentPrinter& m_currentPrinter;
  QPrinter& m_canvasPrinter;
  std::vector<QPageSize> m_sizes;  // what PaperSize lists
};
