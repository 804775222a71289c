// The check list of report pages: items run top to bottom in columns of 15
// rows, two columns visible side by side, scrolling sideways by columns.
// Selection set from code raises no click; a click, or a keyboard move of the
// selection, raises ItemClicked. Backspace raises BackspacePressed.
#pragma once

#include <QListWidget>

class PageListBox final : public QListWidget {
  Q_OBJECT
 public:
  static constexpr int kRowsPerColumn = 15;
  static constexpr int kVisibleColumns = 2;
  static constexpr int kItemHeight = 18;

  explicit PageListBox(QWidget* parent = nullptr);

  // Replaces every item; `texts[i]` is shown with its check mark `checked[i]`.
  void SetItems(const std::vector<std::string>& texts, const std::vector<bool>& checked);
  // Check marks of all items, in order.
  std::vector<bool> CheckMarks() const;
  void SetCheckMarks(const std::vector<bool>& checked);
  // Selects item `index` (-1 for none) without raising ItemClicked.
  void SelectFromCode(int index);

 signals:
  void ItemClicked(int index);
  void BackspacePressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitColumns();
};
