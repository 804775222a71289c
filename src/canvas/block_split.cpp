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

  // The first block of every piece, piece 0 starting at block 0: the cut with the
  // largest product of heights, the earliest cuts winning among equal products.
  //
  // Rather than trying every cut (cubic in the blocks for four pieces), it finds for
  // each block j and piece count m the best product of splitting blocks [j, n) into m
  // pieces, and the earliest start of the second of them that reaches it. Taking the
  // earliest first cut with the largest product, then the earliest second cut that
  // keeps it, and so on, gives the same cut as trying them all in order.
  std::vector<int> BestStarts() const {
    const auto count = static_cast<std::size_t>(m_blockCount);
    const auto pieces = static_cast<std::size_t>(m_pieceCount);
    std::vector<std::vector<std::int64_t>> best(pieces + 1, std::vector<std::int64_t>(count + 1, -1));
    std::vector<std::vector<int>> nextStart(pieces + 1, std::vector<int>(count + 1, -1));
    for (int first = 0; first < m_blockCount; ++first)
      best[1][static_cast<std::size_t>(first)] = Height(first, m_blockCount);
    for (std::size_t m = 2; m <= pieces; ++m) {
      const int lastFirst = m_blockCount - static_cast<int>(m);
      for (int first = 0; first <= lastFirst; ++first) {
        std::int64_t& bestHere = best[m][static_cast<std::size_t>(first)];
        for (int next = first + 1; next <= m_blockCount - static_cast<int>(m - 1); ++next) {
          const std::int64_t rest = best[m - 1][static_cast<std::size_t>(next)];
          if (rest < 0) continue;
          const std::int64_t product = Height(first, next) * rest;
          if (product > bestHere) {  // strictly: the earliest start keeps a tie
            bestHere = product;
            nextStart[m][static_cast<std::size_t>(first)] = next;
          }
        }
      }
    }
    std::vector<int> starts;
    starts.reserve(pieces);
    int first = 0;
    for (std::size_t m = pieces; m >= 1; --m) {
      starts.push_back(first);
      if (m > 1) first = nextStart[m][static_cast<std::size_t>(first)];
    }
    return starts;
  }

  // Lines of blocks [first, end) plus one empty line between each two of them.
  std::int64_t Height(int first, int end) const {
    return m_prefixLines[static_cast<std::size_t>(end)] - m_prefixLines[static_cast<std::size_t>(first)] +
           (end - first - 1);
  }

 private:
  int m_blockCount;
  int m_pieceCount;
  std::vector<std::int64_t> m_prefixLines;
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
  if (pieceCount < 1 || pieceCount > kMaxPieces) throw std::out_of_range("SplitBlocks: piece count outside 1..4");
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
    result.push_back(Piece{starts[p], end - starts[p], static_cast<int>(search.Height(starts[p], end))});
  }
  return result;
}
