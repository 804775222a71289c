// Cuts the day's text "Vantrose.TXT" into one page file and one twin file per
// report, loads the simulcast schedule "SimoDump.LST", and joins the page files back
// into the day's text. Reads and writes line by line; no report is held in memory.
// Decides which marker lines name a report and which file names each report gets:
// every named report gets files of its own, under a safe name where its own cannot
// be a file. Listing and trimming the pages is the page index's work.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_layer.h"
#include "import/simo_table.h"

// Longest report name kept; longer names are cut, and the files carry the cut name.
inline constexpr std::size_t kReportNameLimit = 15;

// The files of one report in the working folder.
struct ReportFile {
  std::string name;  // the page file, as listed: at most 15 characters
  std::string twin;  // the untouched copy, fixed when the report was split

  bool operator==(const ReportFile&) const = default;
};

// `ReportFiles`: the reports of the last split in order of appearance in the text.
// Page and twin names are all different from each other without regard to letter case.
struct ReportTable {
  std::vector<ReportFile> files;
  // Set only by a split that ran to its end and cleared once the pages are joined
  // back, so the text is never rebuilt from a partial set of pages.
  bool splitComplete = false;
};

// The raw name of a `ReportMarker` line: for a line holding a byte 12 or 2 and an
// "@", the characters after the first "@" up to the first byte of code 32 or less.
// Empty when the line is no marker or its "@" names nothing.
std::string MarkerName(std::string_view line);

// True when `name` is a plain file name of the working folder that no file or
// folder of the program itself uses: only bytes 33-126 other than / \ : * ? " < > |,
// not "." or "..", no trailing dot or blank, no device name (CON, PRN, AUX, NUL,
// CONIN$, CONOUT$, COM1-9, LPT1-9, with or without an extension), not one of the
// program's own names (Vantrose.TXT, SimoDump.LST, Data, Exec, Help, Archive,
// Vantrose.PRN, Vantrose.PCL, Vantrose.TMP) and not a temporary file of a file
// being replaced. Letter case does not matter.
bool IsPlainReportName(std::string_view name);

// The name of the report a line starts, cut to 15 characters; nullopt when the line
// does not start a report (no `ReportMarker`, or one that names nothing). The name
// may be anything but empty; SafeFileName makes a file name of it.
std::optional<std::string> StartedReportName(std::string_view line);

// A plain report name (IsPlainReportName) for the files of a report named `name`
// (at most 15 characters): `name` itself when it is plain. Otherwise each byte that
// may not stand in a file name becomes "_"; if that is still not plain, each full stop
// becomes "_"; if still not, "_" is appended (the name cut to keep 15 characters).
// "A01/Tam" gives "A01_Tam", "NUL.txt" "NUL_txt", "CON" "CON_".
std::string SafeFileName(std::string_view name);

// The twin of a report name: the name with its third character replaced by "~". A
// name shorter than three characters gets "~" appended instead.
std::string TwinName(std::string_view name);

// Gives each report of one split plain file names that no earlier report of the
// split uses, as page or twin, without regard to letter case. Its SafeFileName and
// that name's `TwinName` are kept wherever they are free (a page never shares its
// twin's name); otherwise "~2", "~3", ... is appended (the name cut so the result
// keeps 15 characters) until the name is free and plain. The next number to try is
// remembered per name, so a name repeated n times costs n steps, not n squared.
class ReportNamer {
 public:
  ReportFile Assign(const std::string& reportName);

 private:
  bool IsFree(const std::string& name) const;
  std::string FreeName(const std::string& preferred);
  void Take(const std::string& name);

  std::set<std::string> m_taken;                    // upper-cased
  std::map<std::string, std::size_t> m_nextNumber;  // upper-cased preferred name -> next number to try
};

// The page and twin files of the report being written.
struct ReportPair {
  std::optional<OutputFile> page;
  std::optional<OutputFile> twin;
};

// Closes the open pair, if any, then creates (or empties) the page file and then the
// twin file of `file` in `baseFolder`. Throws IoError.
void OpenReportPair(ReportPair& pair, const std::string& baseFolder, const ReportFile& file);

// What a split does when the schedule "SimoDump.LST" is missing: the program (which
// writes a sample at every start) treats it as the file error it is; the print-only
// command, which needs no schedule, reads it as empty.
enum class MissingSchedule { Fails, ReadsEmpty };

// Loads the schedule "SimoDump.LST" into `simoTable`, then cuts "Vantrose.TXT" of
// `baseFolder` into report file pairs and lists them in `reportFiles`, marked
// complete. Throws IoError: a missing schedule stops it before the text is read
// (unless `missingSchedule` reads it as empty); a failure while splitting removes the
// files made so far and leaves `reportFiles` empty and not complete. "Vantrose.TXT"
// is only read.
void SplitReports(const std::string& baseFolder, SimoTable& simoTable, ReportTable& reportFiles,
                  MissingSchedule missingSchedule = MissingSchedule::Fails);

// What a rejoin has to tell the user: nothing when every page was there.
struct RejoinNotice {
  std::vector<std::string> missingPages;  // listed names of the reports whose page file was missing
  bool textKept = false;                  // the old text lacked one of them too: nothing was replaced or deleted

  bool Empty() const { return missingPages.empty(); }
};

// The message for the user about `notice`; empty when there is nothing to tell.
std::string RejoinNoticeText(const RejoinNotice& notice);

// Rebuilds "Vantrose.TXT" from the reports of a complete split, in table order: page
// files for every report, twin files for reports whose name begins with "E". A report
// whose file is missing (deleted by the user, another program or a sync) is taken as
// it stands in the old text, which still holds the whole day, and is named in the
// result. The new text is written beside the old and replaces it only when complete
// and holding every report; then every report's page and twin are deleted and
// `reportFiles` is emptied. When the old text does not hold a missing report (it was
// changed since the split), the text and the files stay as they are and the result
// says so; `reportFiles` is emptied too. Does nothing when the split did not complete,
// when the text is missing, or when the split found no report (the text stays as it
// is). Throws IoError: before the replacement the old text and every report file stay
// as they were; a failed deletion after it is reported once all deletions were tried.
RejoinNotice RejoinReports(const std::string& baseFolder, ReportTable& reportFiles);
