// Fuzzes canvas printing with the fuzzer's bytes as the print file "Vantrose.PRN":
// the print file reader, the block grouping and the balanced split of each page, then
// the whole job in one of the three canvas layouts on a canvas that holds its callers
// to its contract. Checks: pages and lines keep their limits and hold only printable
// bytes; the blocks are exactly the page's runs of non-blank lines; the pieces take
// every block once, in order, with the right heights; the printed text is plain ASCII.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "canvas/block_split.h"
#include "canvas/canvas_print.h"
#include "fuzz_support.h"

namespace {

// Lines per piece of the nine-point portrait and the landscape layout.
constexpr int kPieceThreshold = 90;

void CheckPageLines(const std::vector<std::string>& lines) {
  FUZZ_CHECK(lines.size() <= kPrintPageLines);
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.size() <= kPrintLineWidth);
    for (const char c : line) {
      const auto byte = static_cast<unsigned char>(c);
      FUZZ_CHECK(byte <= 127 && byte != kPrintCarriageReturn && byte != kPrintLineFeed && byte != kPrintFormFeed &&
                 byte != kPrintPageMark);
    }
  }
}

void CheckBlocks(const std::vector<std::string>& lines, const std::vector<Block>& blocks) {
  std::vector<bool> inBlock(lines.size(), false);
  int previousEnd = -1;
  for (const Block& block : blocks) {
    FUZZ_CHECK(block.lineCount > 0 && block.firstLine > previousEnd);  // a blank line between blocks
    for (int line = block.firstLine; line < block.firstLine + block.lineCount; ++line)
      inBlock[static_cast<std::size_t>(line)] = true;
    previousEnd = block.firstLine + block.lineCount;
    FUZZ_CHECK(static_cast<std::size_t>(previousEnd) <= lines.size());
  }
  for (std::size_t line = 0; line < lines.size(); ++line) FUZZ_CHECK(inBlock[line] == !IsBlankLine(lines[line]));
}

void CheckPieces(const std::vector<Block>& blocks, const std::vector<Piece>& pieces, int pieceCount) {
  FUZZ_CHECK(pieces.size() == std::min(blocks.size(), static_cast<std::size_t>(pieceCount)));
  int nextBlock = 0;
  for (const Piece& piece : pieces) {
    FUZZ_CHECK(piece.firstBlock == nextBlock && piece.blockCount > 0);
    int height = piece.blockCount - 1;
    for (int b = piece.firstBlock; b < piece.firstBlock + piece.blockCount; ++b)
      height += blocks[static_cast<std::size_t>(b)].lineCount;
    FUZZ_CHECK(piece.height == height);
    nextBlock += piece.blockCount;
  }
  FUZZ_CHECK(static_cast<std::size_t>(nextBlock) == blocks.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmptyFuzzFolder();
  const std::string path = WriteFuzzFile("Vantrose.PRN", InputBytes(data, size));

  {
    InputFile file(path);
    PrintFileReader reader(file);
    std::vector<std::string> lines;
    while (reader.BytesLeft()) {
      reader.ReadPrintPage(lines);
      CheckPageLines(lines);
      const std::vector<Block> blocks = GroupBlocks(lines);
      CheckBlocks(lines, blocks);
      const int pieceCount = PieceCount(static_cast<int>(lines.size()), kPieceThreshold);
      FUZZ_CHECK(pieceCount >= 1 && pieceCount <= 4);
      CheckPieces(blocks, SplitBlocks(blocks, pieceCount), pieceCount);
    }
  }

  // The layout and the paper's shape come from the input's length.
  const bool legalShape = (size / 3) % 2 == 1;
  ContractCanvas canvas(4800, legalShape ? 8100 : 6300, true);
  bool legalPaper = false;
  switch (size % 3) {
    case 0:
      PrintPortraitPages(path, PortraitVariant::NinePoint, canvas, legalPaper);
      break;
    case 1:
      PrintPortraitPages(path, PortraitVariant::SevenPoint, canvas, legalPaper);
      break;
    default:
      PrintLandscapePages(path, canvas, legalPaper);
      break;
  }
  canvas.CheckClosed();
  FUZZ_CHECK(canvas.Documents() <= 1);
  return 0;
}
