// What the user does with the page list: checking or clearing every page, the
// Backspace jump between two positions, and the file a selected item opens in the
// view (read as code page 437 and handed over as UTF-8). Works on the plain list
// model of the page index; drawing the list and the view is the window's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/page_index.h"

// Check ALL: every page checked, every filler unchecked (also one checked by hand).
void CheckAll(PageList& list);

// Clear ALL: every item unchecked.
void ClearAll(PageList& list);

// `PrevItemIndex` and `LastItemIndex` of the Backspace jump. They belong to the
// window, not to one filling of the list: a new list keeps them.
struct JumpPositions {
  int prevItemIndex = -1;
  int lastItemIndex = -1;
};

// The Backspace jump: remembers the current selection and returns to the one
// remembered by the Backspace before, when there is one. Returns the index now
// selected, which the caller shows; nullopt when nothing moved: the first jump
// only remembers, and a remembered position that the list (filled again with fewer
// items) no longer has leaves the selection where it is.
std::optional<int> BackspaceJump(PageList& list, JumpPositions& positions);

// The file the item at `index` opens: `baseFolder` followed by its text. nullopt for
// a filler or an index outside the list; such an item shows nothing.
std::optional<std::string> ItemPath(const PageList& list, int index, const std::string& baseFolder);

// The pages PRINT takes: whether any item is checked (a filler checked by hand
// counts), and the files of the checked pages in list order.
struct CheckedPages {
  bool anyChecked = false;
  std::vector<std::string> paths;
};
CheckedPages CheckedPagesOf(const PageList& list, const std::string& baseFolder);

// The text a view shows for code page 437 `lines`: UTF-8, the lines joined with "\n".
std::string ViewText(const std::vector<std::string>& lines);

// What `ShowView` shows: when a file exists at `path`, sets `viewFileName` to `path` and
// returns the ViewText of the file's lines. nullopt, with `viewFileName` as it was,
// when no file is there. Throws IoError when the file cannot be read; `viewFileName`
// then keeps its value.
std::optional<std::string> LoadViewText(const std::string& path, std::string& viewFileName);
