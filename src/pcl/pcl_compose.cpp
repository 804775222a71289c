#include "pcl/pcl_compose.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "base/file_layer.h"
#include "canvas/block_split.h"

namespace {

// Bytes of the print file read with one call of the file layer.
constexpr std::size_t kReadBlockSize = 16384;

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kFormFeed = 12;

// Every piece's first line, in decipoints from the top.
constexpr int kFirstLineY = 90;
// The largest line step: six lines per inch.
constexpr int kMaxLineStep = 120;
// The heights over which a piece is spread, in decipoints.
constexpr int kPortraitSpread = 7200;
constexpr int kLandscapeSpread = 5400;

// Font and command values every layout uses.
constexpr std::uint8_t kLinePrinterTypeface = 0;
constexpr std::int8_t kStrokeWeight = 2;
constexpr std::uint8_t kUprightStyle = 0;
constexpr std::uint8_t kPc8SymbolSet = 10;
constexpr std::uint8_t kPortrait = 0;
constexpr std::uint8_t kLandscape = 1;
constexpr std::uint8_t kDuplexLongEdge = 1;
constexpr std::uint8_t kLegalPaperSize = 3;

// Landscape: 16.67 characters per inch, 8.5 points, two columns.
constexpr double kLandscapePitch = 16.67;
constexpr double kLandscapeHeight = 8.5;
constexpr int kLandscapeLeftX = 180;
constexpr int kLandscapeRightX = 4050;
constexpr int kLegalLandscapeLeftX = 720;
constexpr int kLegalLandscapeRightX = 5670;

struct PortraitLayout {
  double pitch;   // characters per inch
  double height;  // points
  int x;          // left position, decipoints
};

PortraitLayout PortraitLayoutOf(char modeLetter) {
  switch (modeLetter) {
    case 'H':
      return {16.67, 8.5, 1080};
    case 'I':
    case 'J':
      return {12.0, 10.0, 540};
    default:
      throw std::invalid_argument("not a portrait PCL mode letter");
  }
}

// Places the blocks of `piece` from the pen's position down, one blank line between blocks.
void PlacePiece(PclEmitter& emitter, PclPen& pen, const std::vector<std::string>& lines,
                const std::vector<Block>& blocks, const Piece& piece) {
  for (int b = piece.firstBlock; b < piece.firstBlock + piece.blockCount; ++b) {
    const Block& block = blocks[static_cast<std::size_t>(b)];
    for (int i = block.firstLine; i < block.firstLine + block.lineCount; ++i)
      PlacePclLine(emitter, pen, lines[static_cast<std::size_t>(i)]);
    if (b + 1 < piece.firstBlock + piece.blockCount) PlacePclLine(emitter, pen, {});
  }
}

void PlaceLandscapePiece(PclEmitter& emitter, const std::vector<std::string>& lines, const std::vector<Block>& blocks,
                         const Piece& piece, int x) {
  PclPen pen{x, kFirstLineY, PclLandscapeLineStep(piece.height)};
  PlacePiece(emitter, pen, lines, blocks, piece);
}

template <typename ComposePage>
void RunPageLoop(PclPrintReader& reader, char modeLetter, bool legal, ComposePage composePage) {
  int threshold = PclPieceThreshold(modeLetter, legal, true);
  std::vector<std::string> lines;
  lines.reserve(kPclMaxPageLines);
  while (!reader.AtEnd()) {
    reader.ReadPclPage(lines);
    if (lines.empty()) continue;  // a page without lines produces no output
    composePage(lines, PieceCount(static_cast<int>(lines.size()), threshold));
    // Only the first page with lines uses the first-page threshold (letter I).
    threshold = PclPieceThreshold(modeLetter, legal, false);
  }
}

bool IsPortraitLetter(char modeLetter) { return modeLetter == 'H' || modeLetter == 'I' || modeLetter == 'J'; }

// Composes the whole job of `reader` for a letter G to J into `emitter`.
void ComposeJob(PclPrintReader& reader, PclEmitter& emitter, char modeLetter, bool legal, bool duplex) {
  if (modeLetter == 'G') {
    PclLandscapeJob(reader, emitter, legal);
  } else {
    PclPortraitJob(reader, emitter, modeLetter, legal, duplex);
  }
}

}  // namespace

// ---- PclPrintReader ----

PclPrintReader::PclPrintReader(std::string_view bytes) : m_bytes(bytes) {}

PclPrintReader::PclPrintReader(InputFile& file) : m_file(&file), m_buffer(kReadBlockSize, '\0') {}

bool PclPrintReader::Refill() {
  if (m_file == nullptr) return false;
  const std::size_t got = m_file->Read(m_buffer.data(), m_buffer.size());
  if (got == 0) {
    m_file = nullptr;  // the end stays the end
    return false;
  }
  m_bytes = std::string_view(m_buffer.data(), got);
  m_position = 0;
  return true;
}

bool PclPrintReader::AtEnd() { return m_position >= m_bytes.size() && !Refill(); }

unsigned char PclPrintReader::ReadPclChar() {
  if (AtEnd()) return 0;
  const auto byte = static_cast<unsigned char>(m_bytes[m_position++]);
  m_endOfPage = byte == kFormFeed;
  m_endOfLine = byte == kCarriageReturn || m_endOfPage;
  return byte;
}

std::string PclPrintReader::ReadPclLine() {
  std::string line;
  ReadPclLine(line);
  return line;
}

void PclPrintReader::ReadPclLine(std::string& line) {
  line.clear();
  for (;;) {
    if (AtEnd()) return;
    // Take the buffered bytes up to the next line end at once: all but line feeds are
    // kept, up to the line limit; the line end itself is read as one character.
    const char* const begin = m_bytes.data() + m_position;
    const char* const end = m_bytes.data() + m_bytes.size();
    const auto* carriageReturn = static_cast<const char*>(std::memchr(begin, kCarriageReturn, end - begin));
    const char* const lineEnd = carriageReturn != nullptr ? carriageReturn : end;
    const auto* formFeed = static_cast<const char*>(std::memchr(begin, kFormFeed, lineEnd - begin));
    const char* const stop = formFeed != nullptr ? formFeed : lineEnd;
    for (const char* piece = begin; piece != stop && line.size() < static_cast<std::size_t>(kPclMaxLineLength);) {
      const auto* found = static_cast<const char*>(std::memchr(piece, kLineFeed, stop - piece));
      const char* const lineFeed = found != nullptr ? found : stop;
      const std::size_t room = static_cast<std::size_t>(kPclMaxLineLength) - line.size();
      line.append(piece, std::min(static_cast<std::size_t>(lineFeed - piece), room));
      piece = lineFeed == stop ? stop : lineFeed + 1;
    }
    if (stop != begin) m_endOfLine = m_endOfPage = false;  // as the last byte taken left them
    m_position += static_cast<std::size_t>(stop - begin);
    if (stop != end) {
      ReadPclChar();
      return;
    }
  }
}

void PclPrintReader::ReadPclPage(std::vector<std::string>& lines) {
  // The strings of `lines` are reused from page to page, so a job allocates little.
  std::size_t count = 0;
  do {
    if (AtEnd()) break;
    if (count == lines.size()) lines.emplace_back();
    // Past the page's last kept line, the slot after it takes the lines that are dropped.
    std::string& line = lines[std::min(count, static_cast<std::size_t>(kPclMaxPageLines))];
    ReadPclLine(line);
    if (!m_endOfPage && count < static_cast<std::size_t>(kPclMaxPageLines)) ++count;
  } while (!m_endOfPage);
  lines.resize(count);
}

// ---- Layout values ----

int PclPieceThreshold(char modeLetter, bool legal, bool firstPage) {
  switch (modeLetter) {
    case 'G':
      return 90;
    case 'H':
      return legal ? 156 : 120;
    case 'I':
      if (firstPage) return legal ? 135 : 105;
      return legal ? 117 : 90;
    case 'J':
      return legal ? 117 : 90;
    default:
      throw std::invalid_argument("not a PCL mode letter");
  }
}

int RoundHalfEven(long long numerator, long long denominator) {
  long long quotient = numerator / denominator;
  const long long twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<int>(quotient);
}

int PclPortraitLineStep(int pieceHeight, bool legal) {
  const int step = RoundHalfEven(kPortraitSpread, pieceHeight);
  // The legal factor 1.3 as 13 / 10, so that halves are exact.
  return legal ? RoundHalfEven(13LL * step, 10) : step;
}

int PclLandscapeLineStep(int pieceHeight) { return RoundHalfEven(kLandscapeSpread, pieceHeight); }

// ---- Placing and composing ----

void PlacePclLine(PclEmitter& emitter, PclPen& pen, std::string_view text) {
  emitter.PclCursor(pen.cursorX, pen.cursorY, PclUnit::Decipoints, PclMove::Absolute);
  // Escape (27), shift out (14) and shift in (15), as bits of one mask. Most lines hold
  // none, which three quick searches tell; such a line is written whole.
  constexpr std::uint32_t kCommandBytes = (1u << 27) | (1u << 14) | (1u << 15);
  // An empty view may have no data at all, which memchr must not be given.
  const auto holds = [text](int byte) {
    return !text.empty() && std::memchr(text.data(), byte, text.size()) != nullptr;
  };
  if (!holds(27) && !holds(14) && !holds(15)) {
    emitter.PclWrite(text);
  } else {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte < 32 && ((kCommandBytes >> byte) & 1u) != 0) {
        emitter.PclWrite(text.substr(start, i - start));
        emitter.PclWrite(" ");
        start = i + 1;
      }
    }
    emitter.PclWrite(text.substr(start));
  }
  pen.cursorY += std::min(pen.lineStep, kMaxLineStep);
}

void ComposePortraitPage(PclEmitter& emitter, const std::vector<std::string>& lines, int pieceCount, char modeLetter,
                         bool legal, bool duplex) {
  const PortraitLayout layout = PortraitLayoutOf(modeLetter);
  const std::vector<Block> blocks = GroupBlocks(lines);
  // With fewer blocks than pieces the split gives one piece per block, and none
  // for a page without blocks, which then prints nothing at all.
  const std::vector<Piece> pieces = SplitBlocks(blocks, pieceCount);
  if (pieces.empty()) return;

  emitter.PclReset();
  emitter.PclOrientation(kPortrait);
  if (duplex) emitter.PclDuplex(kDuplexLongEdge);
  if (legal) emitter.PclPaperSize(kLegalPaperSize);
  emitter.PclFont(kLinePrinterTypeface, kStrokeWeight, kUprightStyle, layout.pitch, layout.height);
  emitter.PclSymbolSet(kPc8SymbolSet);
  for (const Piece& piece : pieces) {
    PclPen pen{layout.x, kFirstLineY, PclPortraitLineStep(piece.height, legal)};
    PlacePiece(emitter, pen, lines, blocks, piece);
    emitter.PclPageEject();
  }
  emitter.PclReset();
}

void ComposeLandscapePage(PclEmitter& emitter, const std::vector<std::string>& lines, int pieceCount, bool legal) {
  const std::vector<Block> blocks = GroupBlocks(lines);
  const std::vector<Piece> pieces = SplitBlocks(blocks, pieceCount);
  if (pieces.empty()) return;
  const int leftX = legal ? kLegalLandscapeLeftX : kLandscapeLeftX;
  const int rightX = legal ? kLegalLandscapeRightX : kLandscapeRightX;

  emitter.PclReset();
  emitter.PclOrientation(kLandscape);
  if (legal) emitter.PclPaperSize(kLegalPaperSize);
  emitter.PclFont(kLinePrinterTypeface, kStrokeWeight, kUprightStyle, kLandscapePitch, kLandscapeHeight);
  emitter.PclSymbolSet(kPc8SymbolSet);
  // Pieces 1 and 2 on the first sheet, 3 and 4 on the second, odd ones on the left.
  for (std::size_t first = 0; first < pieces.size(); first += 2) {
    PlaceLandscapePiece(emitter, lines, blocks, pieces[first], leftX);
    if (first + 1 < pieces.size()) PlaceLandscapePiece(emitter, lines, blocks, pieces[first + 1], rightX);
    emitter.PclPageEject();
  }
  emitter.PclReset();
}

void PclPortraitJob(PclPrintReader& reader, PclEmitter& emitter, char modeLetter, bool legal, bool duplex) {
  RunPageLoop(reader, modeLetter, legal, [&](const std::vector<std::string>& lines, int pieceCount) {
    ComposePortraitPage(emitter, lines, pieceCount, modeLetter, legal, duplex);
  });
}

void PclLandscapeJob(PclPrintReader& reader, PclEmitter& emitter, bool legal) {
  RunPageLoop(reader, 'G', legal, [&](const std::vector<std::string>& lines, int pieceCount) {
    ComposeLandscapePage(emitter, lines, pieceCount, legal);
  });
}

void BuildPclJob(const std::string& printFilePath, const std::string& jobFilePath, char modeLetter, bool legal,
                 bool duplex, AtLink atLink) {
  if (modeLetter != 'G' && !IsPortraitLetter(modeLetter)) return;
  InputFile printFile(printFilePath);
  PclJobFile jobFile;
  jobFile.OpenPclFile(jobFilePath, atLink);
  PclEmitter emitter(jobFile);
  PclPrintReader reader(printFile);
  ComposeJob(reader, emitter, modeLetter, legal, duplex);
  jobFile.ClosePclFile();
  printFile.Close();
}

std::string ComposePclJob(std::string_view printFileBytes, char modeLetter, bool legal, bool duplex) {
  if (modeLetter != 'G' && !IsPortraitLetter(modeLetter)) return {};
  PclStringSink sink;
  PclEmitter emitter(sink);
  PclPrintReader reader(printFileBytes);
  ComposeJob(reader, emitter, modeLetter, legal, duplex);
  return sink.Bytes();
}
