// "PCL Printer Options": the printer that receives raw PCL jobs, and the Legal
// and Duplex choices the print commands read. Created once; its choices live
// as long as the program. It opens showing the current printer; a printer
// picked but not confirmed with OK is undone.
#pragma once

#include <QDialog>

class CurrentPrinter;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;

class TPrinterXForm final : public QDialog {
  Q_OBJECT
 public:
  TPrinterXForm(QWidget* parent, CurrentPrinter& currentPrinter);

  bool LegalChecked() const;
  bool DuplexChecked() const;
  int SavedPrinterIndex() const { return m_savedPrinterIndex; }
  // The index of the printer selected in PrinterList; -1 when none is.
  int SelectedPrinterIndex() const;
  void SelectPrinter(int index);

  QGroupBox* PrinterList = nullptr;
  QPushButton* SelectOK = nullptr;
  QCheckBox* DuplexBox = nullptr;
  QCheckBox* LegalBox = nullptr;
  QGroupBox* Darkness = nullptr;

  void done(int result) override;

 protected:
  // Opens on the current printer, which the WIN modes' printer setup may have changed.
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void SelectOKClick();
  void FormClose();

  CurrentPrinter& m_currentPrinter;
  QButtonGroup* m_printerButtons = nullptr;
  QButtonGroup* m_darknessButtons = nullptr;
  int m_savedPrinterIndex = -1;
};
