#include "import/page_index.h"

#include <algorithm>

#include "base/file_layer.h"

const std::array<std::string_view, 32> TrackGroups = {
    "(A) Tam                 ",
    "(B) GGx Fer SRx Sac Fno ",
    "(C) SAx Dmr LRC LAx     ",
    "(D) Del                 ",
    "(E) Cby EmD             ",
    "(F) GPx GPW OTC         ",
    "(G) WOx                 ",
    "(H) Ind                 ",
    "(I) APx Haw FAN         ",
    "(J) Mth Med             ",
    "(K) CDx Kee TPx ElP KDx ",
    "(L) FGx LaD             ",
    "(M) Pim Lrl Tim Cnl     ",
    "(N) Pen                 ",
    "(O) MVR Tdn BtP PrM     ",
    "(P) Prx                 ",
    "(Q) PID FEx             ",
    "(R) OPx RPx WRD FMT     ",
    "(S) Sun TuP Zia Ril SrP ",
    "(T) LSx Hou Ret         ",
    "(U) DeD EvD             ",
    "(V) CTx                 ",
    "(W) Mnr                 ",
    "(X) FLx                 ",
    "(Y) Bel Aqu Sar         ",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
};

namespace {

// Performance-table borders in code page 437 box drawing.
const std::string kTableTop = "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(7, '\xC4');
const std::string kTableBottom = "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(12, '\xC4') + "\xD9";
constexpr char kVerticalLine = '\xB3';
// 0-based positions of the vertical lines of a performance line (columns 42 and 64).
constexpr std::size_t kLeftBar = 41;
constexpr std::size_t kRightBar = 63;

// Slots searched: 1 to 26, up to the first empty one.
constexpr std::size_t kSearchedSlots = 26;

struct Entry {
  std::string name;  // empty for padding
  std::optional<std::size_t> report;
};

void AppendFillers(std::vector<PageItem>& items) {
  while (items.size() % kPageColumnRows != 0) items.push_back(PageItem{});
}

void SortByName(std::vector<Entry>& entries) {
  // Byte by byte, a prefix first: the order of std::string's comparison. Names of
  // one table are unique, so the order of equal names cannot matter.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
}

// B and E pages: sorted, each track starting a new column.
void AppendByTrack(std::vector<Entry> entries, std::vector<PageItem>& items) {
  SortByName(entries);
  if (!entries.empty()) {
    std::string currentTrack = TrackCode(entries.front().name);
    for (const Entry& entry : entries) {
      const std::string track = TrackCode(entry.name);
      if (track != currentTrack) {
        AppendFillers(items);
        currentTrack = track;
      }
      items.push_back(PageItem{entry.name, entry.report, false});
    }
  }
  AppendFillers(items);
}

// A pages in columns of 15, each column followed by one holding, on each A page's
// row, the last X page (in text order) of the same track.
void AppendWithXColumns(std::vector<Entry> aPages, const std::vector<Entry>& xPages, std::vector<PageItem>& items) {
  SortByName(aPages);
  while (aPages.size() % kPageColumnRows != 0) aPages.push_back(Entry{});
  const std::size_t start = items.size();
  for (std::size_t i = 0; i < aPages.size(); ++i) {
    const std::size_t columnStart = start + (i / kPageColumnRows) * 2 * kPageColumnRows;
    if (items.size() < columnStart + 2 * kPageColumnRows) items.resize(columnStart + 2 * kPageColumnRows);
    const std::size_t row = i % kPageColumnRows;
    const Entry& page = aPages[i];
    if (page.name.empty()) continue;
    items[columnStart + row] = PageItem{page.name, page.report, false};
    const std::string track = TrackCode(page.name);
    for (const Entry& x : xPages)
      if (TrackCode(x.name) == track) items[columnStart + kPageColumnRows + row] = PageItem{x.name, x.report, false};
  }
}

}  // namespace

std::string TrackCode(std::string_view name) { return name.size() > 3 ? std::string(name.substr(3, 3)) : ""; }

bool TrackListed(std::string_view trackCode, std::string_view trackLetters) {
  if (trackCode.empty()) return false;
  for (std::size_t slot = 0; slot < kSearchedSlots && slot < TrackGroups.size(); ++slot) {
    const std::string_view group = TrackGroups[slot];
    if (group.empty()) break;
    if (group.find(trackCode) != std::string_view::npos && group.size() > 1 &&
        trackLetters.find(group[1]) != std::string_view::npos)
      return true;
  }
  return false;
}

void SetDefaultChecks(PageList& list) {
  for (PageItem& item : list.items) item.checked = !item.text.empty() && item.text.front() != 'X';
}

void BuildPageList(const std::string& baseFolder, const ReportTable& reports, const PageChoice& choice,
                   PageList& list) {
  list = PageList{};
  std::vector<Entry> aPages, xPages, ePages, bPages;
  for (std::size_t i = 0; i < reports.files.size(); ++i) {
    const ReportFile& file = reports.files[i];
    if (file.name.empty() || choice.reportLetters.find(file.name.front()) == std::string::npos) continue;
    if (!TrackListed(TrackCode(file.name), choice.trackLetters)) continue;
    const Entry entry{file.name, i};
    switch (file.name.front()) {
      case 'A':
        aPages.push_back(entry);
        break;
      case 'X':
        xPages.push_back(entry);
        break;
      case 'E':
        ePages.push_back(entry);
        if (choice.applyPerfLimit)
          TrimPerformances(JoinPath(baseFolder, file.twin), JoinPath(baseFolder, file.name), choice.maxPerfLines);
        break;
      case 'B':
        bPages.push_back(entry);
        break;
      default:
        break;  // other report kinds are split but never listed
    }
  }

  std::vector<PageItem> items;
  AppendByTrack(std::move(bPages), items);
  AppendByTrack(std::move(ePages), items);
  AppendWithXColumns(std::move(aPages), xPages, items);

  list.items = std::move(items);
  SetDefaultChecks(list);
  const auto firstPage =
      std::find_if(list.items.begin(), list.items.end(), [](const PageItem& item) { return !item.text.empty(); });
  if (firstPage != list.items.end()) {
    list.selected = static_cast<int>(firstPage - list.items.begin());
  } else {
    list.selected = static_cast<int>(list.items.size()) - 1;
  }
}

void TrimPerformances(const std::string& twinPath, const std::string& pagePath, int maxPerfLines) {
  const int limit = std::clamp(maxPerfLines, 1, 14);
  InputFile twin(twinPath);
  AtomicFile page(pagePath);
  bool insideTable = false;
  int count = 0;
  std::string line;
  while (twin.ReadLine(line)) {
    if (line.size() > kTrimLineLimit) line.resize(kTrimLineLimit);
    if (line.find(kTableTop) != std::string::npos) {
      insideTable = true;
      count = 0;
    }
    if (line.find(kTableBottom) != std::string::npos) {
      insideTable = false;
      count = 0;
    }
    const bool performanceLine =
        insideTable && line.size() > kRightBar && line[kLeftBar] == kVerticalLine && line[kRightBar] == kVerticalLine;
    if (performanceLine) ++count;
    if (insideTable && count == limit && !performanceLine) continue;
    if (count > limit) continue;
    page.WriteLine(line);
  }
  twin.Close();
  page.Commit();
}
