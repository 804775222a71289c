// Prints the print file through a printer canvas in the four canvas print modes:
// reads it page by page, cuts each page at its blank lines into balanced pieces
// and spreads every piece over a sheet (portrait) or half a sheet (landscape).
// Knows nothing of reports; adds no header, footer or page number. The file is
// read through the file layer; the printer is reached only through PrinterCanvas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_layer.h"
#include "canvas/canvas_job.h"
#include "platform/printer_canvas.h"

// ---- Reading the print file ----

// Bytes of the print file with a meaning of their own: 13 ends a line, 10 is dropped,
// 12 (form feed) and 2 end the page and the line they stand in.
inline constexpr unsigned char kPrintCarriageReturn = 13;
inline constexpr unsigned char kPrintLineFeed = 10;
inline constexpr unsigned char kPrintFormFeed = 12;
inline constexpr unsigned char kPrintPageMark = 2;
// Longer lines and pages are cut silently.
inline constexpr std::size_t kPrintLineWidth = 80;
inline constexpr std::size_t kPrintPageLines = 480;

// The character printed for `byte`: bytes 128 to 255 through PrintHighCharTable
// (box drawing becomes "+", "-" and "|", shades "*" and "#", the rest a blank);
// lower bytes are returned unchanged.
char PrintHighCharTable(unsigned char byte);

// Reads the print file in blocks (or print text held in memory) and hands it out as
// characters, lines and pages.
class PrintFileReader {
 public:
  // `file` must outlive the reader.
  explicit PrintFileReader(InputFile& file);
  // Reads `bytes`, which must outlive the reader.
  explicit PrintFileReader(std::string_view bytes);

  // True while a byte is left. Reads the next block when needed; throws IoError.
  bool BytesLeft();
  // Reads one byte, translated by PrintHighCharTable, and sets the end-of-line and
  // end-of-page flags from it. Does nothing (the flags keep their values) at the end.
  void ReadPrintChar();
  // The next line without its end: at most 80 characters, the rest of a longer line
  // is read and dropped; line feeds are dropped.
  std::string ReadPrintLine();
  // Fills `pageLines` (cleared first) with the lines of the next page, at most 480,
  // later ones read and dropped. The line that a page mark ends is not kept, so a page
  // mark in the middle of a line drops the characters before it.
  void ReadPrintPage(std::vector<std::string>& pageLines);

  bool EndOfLine() const { return m_endOfLine; }
  bool EndOfPage() const { return m_endOfPage; }

 private:
  InputFile* m_file = nullptr;  // none when reading from memory
  std::vector<char> m_block;
  std::string_view m_bytes;  // the bytes not yet handed out start at m_position
  std::size_t m_position = 0;
  bool m_fileEnded = false;
  unsigned char m_byte = 0;
  bool m_endOfLine = false;
  bool m_endOfPage = false;
};

// ---- Placing text on the sheet ----

// True when the longer side of the printable area exceeds 35/24 of the shorter one
// (legal paper: 14 : 8.5 is legal, 11 : 8.5 is not). False for an empty area.
bool IsLegalPage(int pageWidth, int pageHeight);

// The printable area of one job and the layout grid spread over it.
struct PrintArea {
  int pageWidth = 0;  // printable area, device pixels
  int pageHeight = 0;
  int gridWidth = 0;  // layout grid units across and down
  int gridHeight = 0;
  std::uint16_t usedWidth = 0;   // W': the part of the width the grid covers, pixels
  std::uint16_t usedHeight = 0;  // H'
};

// The grid over a printable area of `pageWidth` x `pageHeight` pixels (read after the
// orientation was set). Portrait: a 5400 x 7200 grid, W' = width x 15/16 and
// H' = height x 20/21; landscape: 7200 x 5400, W' = width x 20/21, H' = height x 15/16;
// integer parts. W' and H' are 16-bit: a larger value is held at 65535.
PrintArea MakePrintArea(PageOrientation orientation, int pageWidth, int pageHeight);

// The canvas position of grid x (or y): the integer part of (W' / grid width) x gridX,
// the quotient formed first, in long double.
int CanvasX(const PrintArea& area, int gridX);
int CanvasY(const PrintArea& area, int gridY);

// The line pitch of a piece `pieceHeight` lines high (at least 1): H' / pieceHeight
// rounded to the nearest integer, halves to even.
int LinePitch(std::uint16_t usedHeight, int pieceHeight);

// The most a line may move the text down, in device pixels.
inline constexpr int kMaxLineAdvance = 120;
// Grid y of the top of every piece.
inline constexpr int kPieceTopGridY = 90;

// Where the next line goes and how far lines are apart, device pixels.
struct DrawingState {
  int x = 0;
  int y = 0;
  int pitch = 0;
};

// Draws `text` with its top-left corner at the current position (an empty text draws
// nothing), then moves down by min(pitch, 120).
void DrawPrintLine(CanvasJob& job, DrawingState& state, const std::string& text);

// ---- Pages and jobs ----

enum class PortraitVariant { NinePoint, SevenPoint };

// Lays out one page of `pageLines` cut into `pieceCount` (1..4) pieces, one sheet per
// piece, text column at grid x `originGridX`, and sets `legalPaper` from the page's
// shape. A page with fewer blocks than pieces prints one piece per block; a page
// without blocks prints nothing. Asks for a new sheet between pieces only.
void LayPortraitPage(CanvasJob& job, const PrintArea& area, const std::vector<std::string>& pageLines, int pieceCount,
                     int originGridX, bool& legalPaper);

// As LayPortraitPage, with two pieces side by side on a sheet: pieces 1 and 3 in the
// left column (grid x 180), 2 and 4 in the right (4050), both 360 further right on
// legal paper; pieces 3 and 4 go on a second sheet.
void LayLandscapePage(CanvasJob& job, const PrintArea& area, const std::vector<std::string>& pageLines, int pieceCount,
                      bool& legalPaper);

// Print the whole file at `path` as one job; the orientation is set after the file is
// opened and stays set. Pages of fewer than 2 lines are skipped. A sheet is started
// only for text to go on it, and a file with nothing to print begins no document.
// Throws IoError when the file cannot be opened (nothing reaches the printer) or read
// (the open document is aborted first).
void PrintPortraitPages(const std::string& path, PortraitVariant variant, PrinterCanvas& canvas, bool& legalPaper);
void PrintLandscapePages(const std::string& path, PrinterCanvas& canvas, bool& legalPaper);

// Prints the file `fileName` (relative to `baseFolder`, its first 127 characters used) in
// the canvas mode of `modeLetter`: "G" landscape 7 pt, "H" portrait 7 pt, "I" and "J"
// portrait 9 pt; any other letter prints nothing and touches nothing. `legalPaper` is
// the shared flag, set from the printer page's shape. Throws IoError as above.
void CanvasPrintFile(const std::string& baseFolder, const std::string& fileName, char modeLetter, PrinterCanvas& canvas,
                     bool& legalPaper);

// As CanvasPrintFile, for print text held in memory (the print preview): the same page
// loop and layouts, no file read.
void CanvasPrintText(std::string_view printText, char modeLetter, PrinterCanvas& canvas, bool& legalPaper);
