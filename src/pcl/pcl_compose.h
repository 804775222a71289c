// Turns the print file (pages of text lines separated by form feeds) into a PCL job:
// each page is cut at its blank lines into one to four pieces of balanced height,
// and each piece is spread over a sheet (portrait) or a half sheet (landscape).
// Reads the print file, writes the job file or a string; does not spool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pcl/pcl_emitters.h"

class InputFile;

// Most lines a page keeps, and most characters a line keeps.
inline constexpr int kPclMaxPageLines = 480;
inline constexpr int kPclMaxLineLength = 80;

// Reads the print file as a stream of bytes: a carriage return ends a line, a form
// feed ends a line and the page, line feeds are dropped, every other byte is kept as
// it is. Reads from memory, or from an InputFile in large blocks.
class PclPrintReader {
 public:
  explicit PclPrintReader(std::string_view bytes);
  // `file` must outlive the reader. Read failures throw IoError.
  explicit PclPrintReader(InputFile& file);

  bool AtEnd();
  // Reads the next byte and sets the flags from it; at the end it reads nothing,
  // leaves the flags as they were and returns 0.
  unsigned char ReadPclChar();
  // The next line without its end; at most kPclMaxLineLength bytes are kept.
  std::string ReadPclLine();
  // The same into `line`, whose storage is reused.
  void ReadPclLine(std::string& line);
  // Fills `lines` with the next page's lines (at most kPclMaxPageLines are kept). The
  // line a form feed ends is not stored. `lines` is reused so that one buffer serves a job.
  void ReadPclPage(std::vector<std::string>& lines);

  bool EndOfLine() const { return m_endOfLine; }
  bool EndOfPage() const { return m_endOfPage; }

 private:
  bool Refill();

  InputFile* m_file = nullptr;
  std::string m_buffer;
  std::string_view m_bytes;
  std::size_t m_position = 0;
  bool m_endOfLine = false;
  bool m_endOfPage = false;
};

// Lines per piece T for a mode letter ('G'..'J'): G 90; H 120 (legal 156); J 90
// (legal 117); I 90 (legal 117) except on the first page of a job, 105 (legal 135).
// Throws std::invalid_argument for another letter.
int PclPieceThreshold(char modeLetter, bool legal, bool firstPage);

// Round(numerator / denominator) with a half going to the even neighbour; both positive.
int RoundHalfEven(long long numerator, long long denominator);

// The distance between two lines of a piece of `pieceHeight` (1 or more) lines, in
// decipoints: Round(7200 / h) in portrait, times 1.3 and rounded again on legal
// paper; Round(5400 / h) in landscape. PlacePclLine caps it at 120.
int PclPortraitLineStep(int pieceHeight, bool legal);
int PclLandscapeLineStep(int pieceHeight);

// Where the next line goes and how far the one after it is, in decipoints.
struct PclPen {
  int cursorX = 0;   // PclCursorX
  int cursorY = 0;   // PclCursorY
  int lineStep = 0;  // PclLineStep
};

// Places one line: the absolute decipoint cursor (pen.cursorX, pen.cursorY), the text,
// then moves the pen down by min(lineStep, 120). Bytes 27, 14 and 15 (escape, shift
// out, shift in) are written as blanks so that report text cannot command the printer.
void PlacePclLine(PclEmitter& emitter, PclPen& pen, std::string_view text);

// The page layouts. Both emit nothing for a page without blocks; a page with fewer
// blocks than `pieceCount` prints one piece per block. Every emitted page begins and
// ends with a printer reset.
// Portrait, one piece per sheet; `modeLetter` is 'H', 'I' or 'J'.
void ComposePortraitPage(PclEmitter& emitter, const std::vector<std::string>& lines, int pieceCount, char modeLetter,
                         bool legal, bool duplex);
// Landscape, two pieces side by side per sheet; the duplex choice does not apply.
void ComposeLandscapePage(PclEmitter& emitter, const std::vector<std::string>& lines, int pieceCount, bool legal);

// The page loops: read every page of `reader` and compose the pages that have lines.
void PclPortraitJob(PclPrintReader& reader, PclEmitter& emitter, char modeLetter, bool legal, bool duplex);
void PclLandscapeJob(PclPrintReader& reader, PclEmitter& emitter, bool legal);

// Builds the job for the print file at `printFilePath` into the job file at
// `jobFilePath` (created, or replaced, also for an empty job). Letter G prints
// landscape, H, I and J portrait; any other letter does nothing and touches no file.
// Throws IoError when the print file cannot be read or the job file not written; the
// job file may then be incomplete. `atLink` says what happens to a link at `jobFilePath`.
void BuildPclJob(const std::string& printFilePath, const std::string& jobFilePath, char modeLetter, bool legal,
                 bool duplex, AtLink atLink = AtLink::ReplaceLink);

// The same job composed in memory from the print file's bytes (for the print preview);
// empty for an unknown letter.
std::string ComposePclJob(std::string_view printFileBytes, char modeLetter, bool legal, bool duplex);
