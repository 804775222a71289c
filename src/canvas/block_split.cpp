#include "canvas/block_split.h"

#include <cstdint>
#include <stdexcept>

namespace {

inline constexpr int kMaxPieces = 4;

// Searches the cuts of blocks [0, n) into pieces; the cut positions are tried in
// ascending order (first cut earliest, then the second, ...) and a candidate replaces
// the best only with a strictly larger product, so the earliest cuts win a tie.
class CutSearch {
 public:
  CutSearch(const std::vector<Block>& blocks, int pieceCount)
      : m_blockCount(static_cast<int>(blocks.size())), m_pieceCount(pieceCount) {
    m_prefixLines.reserve(blocks.size() + 1);
    m_prefixLines.push_back(0);
    for (const Block& block : blocks) m_prefixLines.push_back(m_prefixLines.back() + block.lineCount);
  }

  // The first block of every piece, piece 0 starting at block 0.
  std::vector<int> BestStarts() {
    std::vector<int> starts(static_cast<std::size_t>(m_pieceCount), 0);
    m_bestStarts = starts;
    m_bestProduct = -1;
    Search(starts, 1, 1);
    return m_bestStarts;
  }

  // Lines of blocks [first, end) plus one empty line between each two of them.
  int Height(int first, int end) const {
    return static_cast<int>(m_prefixLines[static_cast<std::size_t>(end)] -
                            m_prefixLines[static_cast<std::size_t>(first)]) +
           (end - first - 1);
  }

 private:
  // Places the start of piece `piece`, which may begin no earlier than `earliest`.
  void Search(std::vector<int>& starts, int piece, int earliest) {
    if (piece == m_pieceCount) {
      std::int64_t product = 1;
      for (int p = 0; p < m_pieceCount; ++p) {
        const int end = p + 1 < m_pieceCount ? starts[static_cast<std::size_t>(p + 1)] : m_blockCount;
        product *= Height(starts[static_cast<std::size_t>(p)], end);
      }
      if (product > m_bestProduct) {
        m_bestProduct = product;
        m_bestStarts = starts;
      }
      return;
    }
    // Every later piece needs at least one block of its own.
    const int latest = m_blockCount - (m_pieceCount - piece);
    for (int start = earliest; start <= latest; ++start) {
      starts[static_cast<std::size_t>(piece)] = start;
      Search(starts, piece + 1, start + 1);
    }
  }

  int m_blockCount;
  int m_pieceCount;
  std::vector<std::int64_t> m_prefixLines;
  std::vector<int> m_bestStarts;
  std::int64_t m_bestProduct = -1;
};

}  // namespace

bool IsBlankLine(const std::string& line) {
  for (const char c : line) {
    if (static_cast<unsigned char>(c) > 32) return false;
  }
  return true;
}

std::vector<Block> GroupBlocks(const std::vector<std::string>& lines) {
  std::vector<Block> blocks;
  bool afterBlank = true;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsBlankLine(lines[i])) {
      afterBlank = true;
      continue;
    }
    if (afterBlank) {
      blocks.push_back(Block{static_cast<int>(i), 0});
      afterBlank = false;
    }
    ++blocks.back().lineCount;
  }
  return blocks;
}

int PieceCount(int lineCount, int pieceThreshold) {
  if (pieceThreshold <= 0) throw std::out_of_range("PieceCount: threshold must be positive");
  if (lineCount < 1) return 1;
  const int count = (lineCount - 1) / pieceThreshold + 1;
  return count < kMaxPieces ? count : kMaxPieces;
}

std::vector<Piece> SplitBlocks(const std::vector<Block>& blocks, int pieceCount) {
  if (pieceCount < 1 || pieceCount > kMaxPieces)
    throw std::out_of_range("SplitBlocks: piece count outside 1..4");
  const int blockCount = static_cast<int>(blocks.size());
  // A page with fewer blocks than pieces has no valid cut: each block stands alone.
  const int pieces = pieceCount < blockCount ? pieceCount : blockCount;
  if (pieces == 0) return {};

  CutSearch search(blocks, pieces);
  const std::vector<int> starts = search.BestStarts();
  std::vector<Piece> result;
  result.reserve(starts.size());
  for (std::size_t p = 0; p < starts.size(); ++p) {
    const int end = p + 1 < starts.size() ? starts[p + 1] : blockCount;
    result.push_back(Piece{starts[p], end - starts[p], search.Height(starts[p], end)});
  }
  return result;
}
