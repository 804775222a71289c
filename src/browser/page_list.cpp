#include "browser/page_list.h"

#include "base/cp437.h"
#include "base/file_layer.h"

void CheckAll(PageList& list) {
  for (PageItem& item : list.items) item.checked = !item.text.empty();
}

void ClearAll(PageList& list) {
  for (PageItem& item : list.items) item.checked = false;
}

std::optional<int> BackspaceJump(PageList& list, JumpPositions& positions) {
  positions.prevItemIndex = positions.lastItemIndex;
  positions.lastItemIndex = list.selected;
  const int target = positions.prevItemIndex;
  if (target < 0 || target >= static_cast<int>(list.items.size())) return std::nullopt;
  list.selected = target;
  return target;
}

std::optional<std::string> ItemPath(const PageList& list, int index, const std::string& baseFolder) {
  if (index < 0 || index >= static_cast<int>(list.items.size())) return std::nullopt;
  const PageItem& item = list.items[static_cast<std::size_t>(index)];
  if (item.text.empty()) return std::nullopt;
  return JoinPath(baseFolder, item.text);
}

CheckedPages CheckedPagesOf(const PageList& list, const std::string& baseFolder) {
  CheckedPages checked;
  for (int index = 0; index < static_cast<int>(list.items.size()); ++index) {
    if (!list.items[static_cast<std::size_t>(index)].checked) continue;
    checked.anyChecked = true;
    // A filler checked by hand names no page.
    if (const auto path = ItemPath(list, index, baseFolder)) checked.paths.push_back(*path);
  }
  return checked;
}

std::string ViewText(const std::vector<std::string>& lines) {
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) bytes += '\n';
    bytes += lines[i];
  }
  return Cp437ToUtf8(bytes);
}

std::optional<std::string> LoadViewText(const std::string& path, std::string& viewFileName) {
  if (!FileExists(path)) return std::nullopt;
  std::string text = ViewText(ReadLines(path));
  viewFileName = path;
  return text;
}
