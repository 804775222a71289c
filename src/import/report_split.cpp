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
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameByte)) return std::nullopt;
  std::string listed = CutText(name, kReportNameLimit);
  if (!IsPlainReportName(listed)) return std::nullopt;
  return listed;
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

std::string ReportNamer::FreeName(const std::string& preferred) const {
  if (IsFree(preferred) && IsPlainReportName(preferred)) return preferred;
  for (std::size_t number = 2;; ++number) {
    const std::string suffix = "~" + std::to_string(number);
    const std::string candidate = CutText(preferred, kReportNameLimit - suffix.size()) + suffix;
    if (IsFree(candidate) && IsPlainReportName(candidate)) return candidate;
  }
}

ReportFile ReportNamer::Assign(const std::string& listedName) {
  ReportFile file;
  file.name = FreeName(listedName);
  Take(file.name);
  file.twin = FreeName(TwinName(listedName));
  Take(file.twin);
  return file;
}

void OpenReportPair(ReportPair& pair, const std::string& baseFolder, const ReportFile& file) {
  ClosePair(pair);
  pair.page.emplace(PagePath(baseFolder, file.name));
  pair.twin.emplace(PagePath(baseFolder, file.twin));
}

std::vector<std::string> LoadSimoTable(const std::string& schedulePath) {
  std::vector<std::string> lines;
  InputFile schedule(schedulePath);
  std::string line;
  while (schedule.ReadLine(line)) lines.push_back(CutText(line, kScheduleLineLimit));
  schedule.Close();
  return lines;
}

void SplitReports(const std::string& baseFolder, std::vector<std::string>& simoTable, ReportTable& reportFiles,
                  MissingSchedule missingSchedule) {
  reportFiles = ReportTable{};
  const std::string schedulePath = OwnFilePath(baseFolder, FileNames::kSchedule);
  if (missingSchedule == MissingSchedule::ReadsEmpty && !FileExists(schedulePath))
    simoTable.clear();
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

void RejoinReports(const std::string& baseFolder, ReportTable& reportFiles) {
  if (!reportFiles.splitComplete) return;
  const std::string textPath = OwnFilePath(baseFolder, FileNames::kDayText);
  if (!FileExists(textPath)) return;
  if (reportFiles.files.empty()) {
    // The text held no report: it stays exactly as it is.
    reportFiles = ReportTable{};
    return;
  }

  std::vector<bool> copied(reportFiles.files.size(), false);
  {
    AtomicFile text(textPath);
    std::string line;
    for (std::size_t i = 0; i < reportFiles.files.size(); ++i) {
      const ReportFile& file = reportFiles.files[i];
      const std::string source = PagePath(baseFolder, RejoinsFromTwin(file) ? file.twin : file.name);
      if (!FileExists(source)) continue;
      InputFile report(source);
      while (report.ReadLine(line)) text.WriteLine(line);
      report.Close();
      copied[i] = true;
    }
    text.Commit();
  }

  // The new text is in place: from here on the table no longer stands for files to
  // rejoin, whatever happens to the deletions.
  const ReportTable joined = std::move(reportFiles);
  reportFiles = ReportTable{};
  std::optional<IoError> firstFailure;
  for (std::size_t i = 0; i < joined.files.size(); ++i) {
    if (!copied[i]) continue;  // its partner, if any, stays
    const ReportFile& file = joined.files[i];
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
}
