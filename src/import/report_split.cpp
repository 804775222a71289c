#include "import/report_split.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/text.h"
#include "base/working_folders.h"

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A byte that may stand in a report name on every file system the program runs on.
bool IsNameByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte <= 32 || byte >= 127) return false;
  return std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos;
}

// Names, upper-cased, of the files and folders the program keeps in the working
// folder itself, and of its work files there.
constexpr std::array<std::string_view, 9> kOwnNames = {
    "VANTROSE.TXT", "SIMODUMP.LST", "DATA", "EXEC", "HELP", "ARCHIVE", "VANTROSE.PRN", "VANTROSE.PCL", "VANTROSE.TMP",
};

std::string PagePath(const std::string& baseFolder, const std::string& name) { return JoinPath(baseFolder, name); }

// E reports are rejoined from their untrimmed twin, the others from their page.
bool RejoinsFromTwin(const ReportFile& file) { return !file.name.empty() && file.name.front() == 'E'; }

// Deletes a file the program made, when it exists, keeping quiet about a failure:
// used only to tidy up after another failure that is being reported.
void DeleteQuietly(const std::string& path) {
  try {
    DeleteIfExists(path);
  } catch (const IoError&) {
    // The failure being reported already says what went wrong.
  }
}

void ClosePair(ReportPair& pair) {
  if (pair.page) pair.page->Close();
  if (pair.twin) pair.twin->Close();
  pair.page.reset();
  pair.twin.reset();
}

}  // namespace

std::string MarkerName(std::string_view line) {
  if (line.find_first_of(std::string_view("\x0C\x02", 2)) == std::string_view::npos) return {};
  const std::size_t at = line.find('@');
  if (at == std::string_view::npos) return {};
  std::size_t end = at + 1;
  while (end < line.size() && static_cast<unsigned char>(line[end]) > 32) ++end;
  return std::string(line.substr(at + 1, end - at - 1));
}

bool IsPlainReportName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (!std::all_of(name.begin(), name.end(), IsNameByte)) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  if (IsReservedDeviceName(name)) return false;
  const std::string upper = AsciiUpperText(name);
  if (std::find(kOwnNames.begin(), kOwnNames.end(), upper) != kOwnNames.end()) return false;
  // The temporary file of a file being replaced sits beside it under such a name.
  return !EndsWith(upper, AsciiUpperText(AtomicFile::TemporaryPathFor("")));
}

std::optional<std::string> StartedReportName(std::string_view line) {
  const std::string name = MarkerName(line);
  if (name.empty()) return std::nullopt;
  return CutText(name, kReportNameLimit);
}

std::string SafeFileName(std::string_view name) {
  if (IsPlainReportName(name)) return std::string(name);
  std::string safe(name);
  for (char& c : safe)
    if (!IsNameByte(c)) c = '_';
  if (IsPlainReportName(safe)) return safe;
  // A dot makes ".", "..", a trailing dot, a device's extension or a temporary file's end.
  std::replace(safe.begin(), safe.end(), '.', '_');
  if (IsPlainReportName(safe)) return safe;
  // What is left is a device or one of the program's own names, none of which ends with "_".
  return CutText(safe, kReportNameLimit - 1) + "_";
}

std::string TwinName(std::string_view name) {
  std::string twin(name);
  if (twin.size() < 3) {
    twin += '~';
  } else {
    twin[2] = '~';
  }
  return twin;
}

bool ReportNamer::IsFree(const std::string& name) const { return m_taken.count(AsciiUpperText(name)) == 0; }

void ReportNamer::Take(const std::string& name) { m_taken.insert(AsciiUpperText(name)); }

std::string ReportNamer::FreeName(const std::string& preferred) {
  if (IsFree(preferred) && IsPlainReportName(preferred)) return preferred;
  // A number once given or passed over for this name is never tried again for it.
  std::size_t& number = m_nextNumber.try_emplace(AsciiUpperText(preferred), 2).first->second;
  for (;; ++number) {
    const std::string suffix = "~" + std::to_string(number);
    const std::string candidate = CutText(preferred, kReportNameLimit - suffix.size()) + suffix;
    if (IsFree(candidate) && IsPlainReportName(candidate)) {
      ++number;
      return candidate;
    }
  }
}

ReportFile ReportNamer::Assign(const std::string& reportName) {
  const std::string safe = SafeFileName(reportName);
  ReportFile file;
  file.name = FreeName(safe);
  Take(file.name);
  file.twin = FreeName(TwinName(safe));
  Take(file.twin);
  return file;
}

void OpenReportPair(ReportPair& pair, const std::string& baseFolder, const ReportFile& file) {
  ClosePair(pair);
  pair.page.emplace(PagePath(baseFolder, file.name));
  pair.twin.emplace(PagePath(baseFolder, file.twin));
}

void SplitReports(const std::string& baseFolder, SimoTable& simoTable, ReportTable& reportFiles,
                  MissingSchedule missingSchedule) {
  reportFiles = ReportTable{};
  const std::string schedulePath = OwnFilePath(baseFolder, FileNames::kSchedule);
  if (missingSchedule == MissingSchedule::ReadsEmpty && !FileExists(schedulePath))
    simoTable = SimoTable{};
  else
    simoTable = LoadSimoTable(schedulePath);

  ReportTable table;
  ReportNamer namer;
  ReportPair pair;
  try {
    InputFile text(OwnFilePath(baseFolder, FileNames::kDayText));
    std::string line;
    while (text.ReadLine(line)) {
      if (const std::optional<std::string> name = StartedReportName(line)) {
        // Listed before its files are made, so a failure tidies up a half-made pair too.
        table.files.push_back(namer.Assign(*name));
        OpenReportPair(pair, baseFolder, table.files.back());
      }
      if (pair.page) {
        pair.page->WriteLine(line);
        pair.twin->WriteLine(line);
      }
    }
    ClosePair(pair);
    text.Close();
  } catch (...) {
    // A partial split is never rejoined, so its files would only be left lying about.
    pair.page.reset();
    pair.twin.reset();
    for (const ReportFile& file : table.files) {
      DeleteQuietly(PagePath(baseFolder, file.name));
      DeleteQuietly(PagePath(baseFolder, file.twin));
    }
    throw;
  }
  table.splitComplete = true;
  reportFiles = std::move(table);
}

std::string RejoinNoticeText(const RejoinNotice& notice) {
  if (notice.Empty()) return {};
  constexpr std::size_t kNamesShown = 10;
  std::string names;
  for (std::size_t i = 0; i < notice.missingPages.size() && i < kNamesShown; ++i)
    names += (i == 0 ? "" : ", ") + notice.missingPages[i];
  if (notice.missingPages.size() > kNamesShown)
    names += " and " + std::to_string(notice.missingPages.size() - kNamesShown) + " more";
  const bool one = notice.missingPages.size() == 1;
  const std::string subject = std::string(one ? "The page " : "The pages ") + names + (one ? " was" : " were") +
                              " missing when the day's pages were joined back into Vantrose.TXT.";
  if (notice.textKept)
    return subject + " Vantrose.TXT no longer holds " + (one ? "that report" : "those reports") +
           " either, so it was left as it was, and the other pages were left in the working folder.";
  return subject + (one ? " Its report was" : " Their reports were") +
         " taken from Vantrose.TXT as it was when the pages were made.";
}

namespace {

// The reports of a day's text, read one after the other and named as SplitReports
// names them, so that the k-th report read is the k-th of the split that made the pages.
class TextReports {
 public:
  explicit TextReports(const std::string& textPath) : m_text(textPath) {
    SkipReport();  // the lines before the first report belong to no report
  }

  // Copies the lines of the report at `index` of the split, named `expected`, to `out`.
  // False when the text holds no such report: it has fewer, or names it otherwise.
  bool CopyReport(std::size_t index, const ReportFile& expected, AtomicFile& out) {
    while (m_atMarker && m_index < index) SkipReport();
    if (!m_atMarker || m_index != index || m_current != expected) return false;
    do {
      out.WriteLine(m_line);
    } while (NextLine() && !StartsReport());
    return true;
  }

  void Close() { m_text.Close(); }

 private:
  bool NextLine() {
    m_atMarker = false;
    return m_text.ReadLine(m_line);
  }

  // Names the report whose marker line was just read, if it is one.
  bool StartsReport() {
    const std::optional<std::string> name = StartedReportName(m_line);
    if (!name) return false;
    m_current = m_namer.Assign(*name);
    m_index = m_started++;
    m_atMarker = true;
    return true;
  }

  // Reads on to the next report's marker line, or to the end.
  void SkipReport() {
    while (NextLine() && !StartsReport()) {
    }
  }

  InputFile m_text;
  ReportNamer m_namer;
  std::string m_line;
  bool m_atMarker = false;  // m_line is the marker line of the report at m_index, named m_current
  std::size_t m_index = 0;
  std::size_t m_started = 0;
  ReportFile m_current;
};

}  // namespace

namespace {

// The file a report is joined back from: its page, or for an E report its untrimmed twin.
std::string RejoinSource(const std::string& baseFolder, const ReportFile& file) {
  return PagePath(baseFolder, RejoinsFromTwin(file) ? file.twin : file.name);
}

}  // namespace

RejoinNotice RejoinReports(const std::string& baseFolder, ReportTable& reportFiles) {
  RejoinNotice notice;
  if (!reportFiles.splitComplete) return notice;
  const std::string textPath = OwnFilePath(baseFolder, FileNames::kDayText);
  if (!FileExists(textPath)) return notice;
  if (reportFiles.files.empty()) {
    // The text held no report: it stays exactly as it is.
    reportFiles = ReportTable{};
    return notice;
  }

  std::vector<bool> present(reportFiles.files.size(), false);
  for (std::size_t i = 0; i < reportFiles.files.size(); ++i) {
    const ReportFile& file = reportFiles.files[i];
    present[i] = FileExists(RejoinSource(baseFolder, file));
    if (!present[i]) notice.missingPages.push_back(file.name);
  }

  {
    AtomicFile text(textPath);
    // The old text is read only for the reports whose file is gone.
    std::optional<TextReports> oldText;
    if (!notice.missingPages.empty()) oldText.emplace(textPath);
    std::string line;
    for (std::size_t i = 0; i < reportFiles.files.size(); ++i) {
      const ReportFile& file = reportFiles.files[i];
      if (!present[i]) {
        if (oldText->CopyReport(i, file, text)) continue;
        // The day cannot be made whole: everything stays as it is, and the user hears why.
        reportFiles = ReportTable{};
        notice.textKept = true;
        return notice;
      }
      InputFile report(RejoinSource(baseFolder, file));
      while (report.ReadLine(line)) text.WriteLine(line);
      report.Close();
    }
    if (oldText) oldText->Close();
    text.Commit();
  }

  // The new text is in place: from here on the table no longer stands for files to
  // rejoin, whatever happens to the deletions.
  const ReportTable joined = std::move(reportFiles);
  reportFiles = ReportTable{};
  std::optional<IoError> firstFailure;
  for (const ReportFile& file : joined.files) {
    const bool fromTwin = RejoinsFromTwin(file);
    for (const std::string* name : {fromTwin ? &file.twin : &file.name, fromTwin ? &file.name : &file.twin}) {
      try {
        DeleteIfExists(PagePath(baseFolder, *name));
      } catch (const IoError& error) {
        if (!firstFailure) firstFailure = error;
      }
    }
  }
  if (firstFailure) throw *firstFailure;
  return notice;
}
