#include "browser/ui/page_list_box.h"

#include <QKeyEvent>

PageListBox::PageListBox(QWidget* parent) : QListWidget(parent) {
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Fixed);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);  // whole columns
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { emit ItemClicked(row(item)); });
}

void PageListBox::SetItems(const std::vector<std::string>& texts, const std::vector<bool>& checked) {
  clear();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromLatin1(texts[i].data(), static_cast<qsizetype>(texts[i].size())));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(i < checked.size() && checked[i] ? Qt::Checked : Qt::Unchecked);
    item->setSizeHint(QSize(gridSize().width(), kItemHeight));
    addItem(item);
  }
}

std::vector<bool> PageListBox::CheckMarks() const {
  std::vector<bool> marks;
  marks.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) marks.push_back(item(i)->checkState() == Qt::Checked);
  return marks;
}

void PageListBox::SetCheckMarks(const std::vector<bool>& checked) {
  for (int i = 0; i < count() && i < static_cast<int>(checked.size()); ++i)
    item(i)->setCheckState(checked[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

void PageListBox::SelectFromCode(int index) {
  const QSignalBlocker blocker(this);
  setCurrentRow(index);
  if (index >= 0 && index < count()) scrollToItem(item(index), QAbstractItemView::PositionAtTop);
  viewport()->update();
}

void PageListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Backspace) {
    emit BackspacePressed();
    return;
  }
  const int before = currentRow();
  QListWidget::keyPressEvent(event);
  if (currentRow() != before && currentRow() >= 0) emit ItemClicked(currentRow());
}

void PageListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  FitColumns();
}

// Columns hold exactly 15 rows, and two of them share the visible width.
void PageListBox::FitColumns() {
  const int columnWidth = viewport()->width() / kVisibleColumns;
  setGridSize(QSize(columnWidth, kItemHeight));
  // A viewport taller than 15 rows would wrap after more rows: hide the rest of it.
  const int spare = viewport()->height() + viewportMargins().bottom() - kRowsPerColumn * kItemHeight;
  setViewportMargins(0, 0, 0, spare >= kItemHeight ? spare - kItemHeight + 1 : 0);
  for (int i = 0; i < count(); ++i) item(i)->setSizeHint(QSize(columnWidth, kItemHeight));
}
