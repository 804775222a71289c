#include "canvas/canvas_print.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "canvas/block_split.h"

namespace {

inline constexpr std::size_t kReadBlockSize = 4096;
inline constexpr std::size_t kMaxFileNameLength = 127;
inline constexpr const char* kCanvasFontName = "Courier New";

// Grid x of the landscape columns; legal paper moves both right.
inline constexpr int kLeftColumnGridX = 180;
inline constexpr int kRightColumnGridX = 4050;
inline constexpr int kLegalColumnShift = 360;

// What each page printer uses.
struct PagePrinter {
  int fontSize;
  int pieceThreshold;
  int originGridX;  // portrait text column
};
inline constexpr PagePrinter kPortraitNinePoint = {9, 90, 765};
inline constexpr PagePrinter kPortraitSevenPoint = {7, 120, 1230};
inline constexpr PagePrinter kLandscape = {7, 90, 0};

// Printed characters of bytes 128 to 255.
constexpr std::array<char, 128> MakeHighCharTable() {
  std::array<char, 128> table{};
  auto set = [&table](int first, int last, char c) {
    for (int code = first; code <= last; ++code) table[static_cast<std::size_t>(code - 128)] = c;
  };
  set(128, 255, ' ');
  set(174, 174, '<');
  set(175, 175, '>');
  set(176, 176, '_');
  set(177, 177, '*');
  set(178, 178, '#');
  set(179, 182, '|');
  set(185, 186, '|');
  set(195, 195, '|');
  set(198, 199, '|');
  set(204, 204, '|');
  set(196, 196, '-');
  set(205, 205, '-');
  set(183, 184, '+');
  set(187, 194, '+');
  set(197, 197, '+');
  set(200, 203, '+');
  set(206, 218, '+');
  set(219, 223, '*');
  return table;
}
inline constexpr std::array<char, 128> kHighCharTable = MakeHighCharTable();

std::uint16_t HeldAs16Bits(long long value) {
  return static_cast<std::uint16_t>(std::clamp<long long>(value, 0, 65535));
}

// Lays the pieces of one page out; `columnGridX(p)` gives the text column of piece p
// (from 0), and a new sheet is asked for before every piece for which `sheetBefore(p)`.
template <typename ColumnOf, typename SheetBefore>
void LayPieces(CanvasJob& job, const PrintArea& area, const std::vector<std::string>& pageLines, int pieceCount,
               ColumnOf columnGridX, SheetBefore sheetBefore) {
  const std::vector<Block> blocks = GroupBlocks(pageLines);
  const std::vector<Piece> pieces = SplitBlocks(blocks, pieceCount);
  for (std::size_t p = 0; p < pieces.size(); ++p) {
    if (sheetBefore(p)) job.BreakSheet();
    const Piece& piece = pieces[p];
    DrawingState state{CanvasX(area, columnGridX(p)), CanvasY(area, kPieceTopGridY),
                       LinePitch(area.usedHeight, piece.height)};
    for (int b = piece.firstBlock; b < piece.firstBlock + piece.blockCount; ++b) {
      if (b > piece.firstBlock) DrawPrintLine(job, state, std::string());
      const Block& block = blocks[static_cast<std::size_t>(b)];
      for (int line = block.firstLine; line < block.firstLine + block.lineCount; ++line)
        DrawPrintLine(job, state, pageLines[static_cast<std::size_t>(line)]);
    }
  }
}

// The page loop of one job. The orientation is set only now, after the caller opened
// its input, so that an open failure reaches the printer with nothing.
void PrintPages(PrintFileReader& reader, PageOrientation orientation, const PagePrinter& printer, PrinterCanvas& canvas,
                bool& legalPaper) {
  canvas.SetOrientation(orientation);
  const PrintArea area = MakePrintArea(orientation, canvas.PageWidth(), canvas.PageHeight());

  CanvasJob job(canvas);
  job.SetFont(kCanvasFontName, printer.fontSize, true);
  std::vector<std::string> pageLines;
  pageLines.reserve(kPrintPageLines);
  while (reader.BytesLeft()) {
    reader.ReadPrintPage(pageLines);
    if (pageLines.size() < 2) continue;  // skipped pages start no sheet
    const int pieceCount = PieceCount(static_cast<int>(pageLines.size()), printer.pieceThreshold);
    if (orientation == PageOrientation::Portrait)
      LayPortraitPage(job, area, pageLines, pieceCount, printer.originGridX, legalPaper);
    else
      LayLandscapePage(job, area, pageLines, pieceCount, legalPaper);
    // Taken only if more text follows, so the job never ends with a blank sheet.
    job.BreakSheet();
  }
  job.Finish();
}

void PrintPages(const std::string& path, PageOrientation orientation, const PagePrinter& printer, PrinterCanvas& canvas,
                bool& legalPaper) {
  InputFile file(path);  // an open failure comes before anything reaches the printer
  PrintFileReader reader(file);
  PrintPages(reader, orientation, printer, canvas, legalPaper);
  file.Close();
}

// The page printer of a canvas mode letter; false for a letter that is no canvas mode.
bool PagePrinterOf(char modeLetter, PageOrientation& orientation, PagePrinter& printer) {
  switch (modeLetter) {
    case 'G':
      orientation = PageOrientation::Landscape;
      printer = kLandscape;
      return true;
    case 'H':
      orientation = PageOrientation::Portrait;
      printer = kPortraitSevenPoint;
      return true;
    case 'I':
    case 'J':
      orientation = PageOrientation::Portrait;
      printer = kPortraitNinePoint;
      return true;
    default:
      return false;
  }
}

}  // namespace

char PrintHighCharTable(unsigned char byte) {
  return byte < 128 ? static_cast<char>(byte) : kHighCharTable[byte - 128u];
}

// ---- PrintFileReader ----

PrintFileReader::PrintFileReader(InputFile& file) : m_file(&file), m_block(kReadBlockSize) {}

PrintFileReader::PrintFileReader(std::string_view bytes) : m_bytes(bytes), m_fileEnded(true) {}

bool PrintFileReader::BytesLeft() {
  if (m_position < m_bytes.size()) return true;
  if (m_fileEnded) return false;
  const std::size_t got = m_file->Read(m_block.data(), m_block.size());
  m_bytes = std::string_view(m_block.data(), got);
  m_position = 0;
  m_fileEnded = got == 0;
  return !m_fileEnded;
}

void PrintFileReader::ReadPrintChar() {
  if (!BytesLeft()) return;
  m_byte = static_cast<unsigned char>(PrintHighCharTable(static_cast<unsigned char>(m_bytes[m_position++])));
  m_endOfPage = m_byte == kPrintFormFeed || m_byte == kPrintPageMark;
  m_endOfLine = m_byte == kPrintCarriageReturn || m_endOfPage;
}

std::string PrintFileReader::ReadPrintLine() {
  std::string line;
  do {
    if (!BytesLeft()) break;
    ReadPrintChar();
    if (!m_endOfLine && m_byte != kPrintLineFeed && line.size() < kPrintLineWidth) line += static_cast<char>(m_byte);
  } while (!m_endOfLine);
  return line;
}

void PrintFileReader::ReadPrintPage(std::vector<std::string>& pageLines) {
  pageLines.clear();
  do {
    if (!BytesLeft()) break;
    std::string line = ReadPrintLine();
    if (!m_endOfPage && pageLines.size() < kPrintPageLines) pageLines.push_back(std::move(line));
  } while (!m_endOfPage);
}

// ---- Placing text ----

bool IsLegalPage(int pageWidth, int pageHeight) {
  const int shorter = std::min(pageWidth, pageHeight);
  const int longer = std::max(pageWidth, pageHeight);
  if (shorter <= 0) return false;
  return static_cast<double>(longer) / static_cast<double>(shorter) > 35.0 / 24.0;
}

PrintArea MakePrintArea(PageOrientation orientation, int pageWidth, int pageHeight) {
  PrintArea area;
  area.pageWidth = pageWidth;
  area.pageHeight = pageHeight;
  // The fractions 15/16 (0.9375) and 20/21 are applied exactly: product first, then the
  // integer quotient, so 2100 pixels give 2000 and not 1999.
  const long long width = pageWidth;
  const long long height = pageHeight;
  if (orientation == PageOrientation::Portrait) {
    area.gridWidth = 5400;
    area.gridHeight = 7200;
    area.usedWidth = HeldAs16Bits(width * 15 / 16);
    area.usedHeight = HeldAs16Bits(height * 20 / 21);
  } else {
    area.gridWidth = 7200;
    area.gridHeight = 5400;
    area.usedWidth = HeldAs16Bits(width * 20 / 21);
    area.usedHeight = HeldAs16Bits(height * 15 / 16);
  }
  return area;
}

int CanvasX(const PrintArea& area, int gridX) {
  const long double scale = static_cast<long double>(area.usedWidth) / area.gridWidth;
  return static_cast<int>(scale * gridX);
}

int CanvasY(const PrintArea& area, int gridY) {
  const long double scale = static_cast<long double>(area.usedHeight) / area.gridHeight;
  return static_cast<int>(scale * gridY);
}

int LinePitch(std::uint16_t usedHeight, int pieceHeight) {
  const int quotient = usedHeight / pieceHeight;
  const int twiceRemainder = 2 * (usedHeight % pieceHeight);
  if (twiceRemainder > pieceHeight) return quotient + 1;
  if (twiceRemainder == pieceHeight) return quotient + quotient % 2;  // a half goes to even
  return quotient;
}

void DrawPrintLine(CanvasJob& job, DrawingState& state, const std::string& text) {
  if (!text.empty()) job.Draw(state.x, state.y, text);
  state.y += std::min(state.pitch, kMaxLineAdvance);
}

// ---- Pages and jobs ----

void LayPortraitPage(CanvasJob& job, const PrintArea& area, const std::vector<std::string>& pageLines, int pieceCount,
                     int originGridX, bool& legalPaper) {
  legalPaper = IsLegalPage(area.pageWidth, area.pageHeight);
  LayPieces(
      job, area, pageLines, pieceCount, [originGridX](std::size_t) { return originGridX; },
      [](std::size_t piece) { return piece > 0; });
}

void LayLandscapePage(CanvasJob& job, const PrintArea& area, const std::vector<std::string>& pageLines, int pieceCount,
                      bool& legalPaper) {
  legalPaper = IsLegalPage(area.pageWidth, area.pageHeight);
  const int shift = legalPaper ? kLegalColumnShift : 0;
  LayPieces(
      job, area, pageLines, pieceCount,
      [shift](std::size_t piece) { return (piece % 2 == 0 ? kLeftColumnGridX : kRightColumnGridX) + shift; },
      [](std::size_t piece) { return piece == 2; });
}

void PrintPortraitPages(const std::string& path, PortraitVariant variant, PrinterCanvas& canvas, bool& legalPaper) {
  PrintPages(path, PageOrientation::Portrait,
             variant == PortraitVariant::NinePoint ? kPortraitNinePoint : kPortraitSevenPoint, canvas, legalPaper);
}

void PrintLandscapePages(const std::string& path, PrinterCanvas& canvas, bool& legalPaper) {
  PrintPages(path, PageOrientation::Landscape, kLandscape, canvas, legalPaper);
}

void CanvasPrintFile(const std::string& baseFolder, const std::string& fileName, char modeLetter, PrinterCanvas& canvas,
                     bool& legalPaper) {
  PageOrientation orientation{};
  PagePrinter printer{};
  if (!PagePrinterOf(modeLetter, orientation, printer)) return;  // not a canvas mode: nothing is printed
  const std::string path = OwnFilePath(baseFolder, CutText(fileName, kMaxFileNameLength));
  PrintPages(path, orientation, printer, canvas, legalPaper);
}

void CanvasPrintText(std::string_view printText, char modeLetter, PrinterCanvas& canvas, bool& legalPaper) {
  PageOrientation orientation{};
  PagePrinter printer{};
  if (!PagePrinterOf(modeLetter, orientation, printer)) return;
  PrintFileReader reader(printText);
  PrintPages(reader, orientation, printer, canvas, legalPaper);
}
