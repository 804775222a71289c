// Archives of report pages: the check of an archive name, saving the listed pages
// into one archive file, copying an archive back as the day's text, and the load
// that puts an archive in place of the day's pages and rolls everything back when
// a step fails. Splitting, rejoining and listing are passed in as steps; no dialog,
// no list widget, no Qt.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/page_index.h"
#include "import/report_split.h"

// Archive files live in this sub-folder of the working folder. The program does not
// create it: saving into a missing folder fails with "Invalid filename".
inline constexpr std::string_view kArchiveFolder = "Archive";

// True when `name` (its code page 437 bytes) may name an archive file: 1 to 12
// characters, each above code 32 and none of  " * + , / : ; < = > ? \ |  ; at most one
// full stop, not the first character and followed by at most three characters; and
// not a name some system keeps for a device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, also with a superscript two for the digit), with or without an
// extension and in any letter case, so that archives can move between systems.
bool ValidArchiveName(std::string_view name);

// The path of the archive `name` (already accepted by ValidArchiveName, in the
// encoding of paths): the archive folder and the file found without regard to letter
// case, so an existing archive is found and replaced whatever the case typed.
std::string ArchivePath(const std::string& baseFolder, std::string_view name);

enum class PageSelection { All, CheckedOnly };

// Writes the lines of the listed pages, in list order, into `archivePath`, each
// line ended by CR LF, replacing any file of that name. Items without a page file
// in `baseFolder` (fillers among them) are skipped, and with CheckedOnly so are the
// unchecked ones. The archive appears only once complete: a failure leaves an older
// archive of that name whole and no partial one. Throws IoError.
void SavePages(const std::string& archivePath, const std::string& baseFolder, const std::vector<PageItem>& items,
               PageSelection selection);

// Replaces `textPath` with the lines of the archive at `archivePath`, each ended
// by CR LF (the archive's text ends at a byte 26). A failure leaves the old text
// whole. Throws IoError.
void RestoreText(const std::string& archivePath, const std::string& textPath);

// The steps of a load that belong to the page model, run in this order. Each works
// on the caller's state; to roll that back too, let the steps work on a copy of the
// state and adopt the copy only after LoadArchive returns Loaded.
struct ArchiveLoadSteps {
  std::function<void()> rejoinReports;  // the report files back into the day's text, then deleted
  std::function<void()> splitReports;   // the day's text (now the archive's) cut into report files
  std::function<void()> buildPageList;  // the page list of the new reports, E pages cut
};

enum class ArchiveLoad { Loaded, NoSuchArchive };

// Loads the archive at `archivePath` as the day's text of `baseFolder`: rejoins the
// current reports (`currentReports`, the pages and twins of the last split), copies the
// archive over the day's text "Vantrose.TXT", splits it and builds the page list. An
// archive that does not exist changes nothing (NoSuchArchive). When any step throws,
// what the load changes is put back as it was before (the day's text, the schedule,
// the current pages and twins; files the load added are removed) and the exception goes
// on to the caller. Keeps those files in memory while it runs; other files of the
// folder are neither read nor touched.
ArchiveLoad LoadArchive(const std::string& baseFolder, const std::string& archivePath,
                        const ReportTable& currentReports, const ArchiveLoadSteps& steps);
