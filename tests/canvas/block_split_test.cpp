#include "canvas/block_split.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Blocks of the given line counts, laid out as a page with one blank line between them.
std::vector<Block> BlocksOfSizes(const std::vector<int>& sizes) {
  std::vector<Block> blocks;
  int line = 0;
  for (const int size : sizes) {
    blocks.push_back(Block{line, size});
    line += size + 1;
  }
  return blocks;
}

std::vector<int> PieceHeights(const std::vector<Piece>& pieces) {
  std::vector<int> heights;
  for (const Piece& piece : pieces) heights.push_back(piece.height);
  return heights;
}

std::vector<int> PieceFirstBlocks(const std::vector<Piece>& pieces) {
  std::vector<int> firsts;
  for (const Piece& piece : pieces) firsts.push_back(piece.firstBlock);
  return firsts;
}

// The page `text` with "|" between lines.
std::vector<std::string> PageLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : text) {
    if (c == '|') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  lines.push_back(line);
  return lines;
}

TEST(IsBlankLine, OnlyBytesUpToBlankAreBlank) {
  EXPECT_TRUE(IsBlankLine(""));
  EXPECT_TRUE(IsBlankLine("   \t "));
  EXPECT_TRUE(IsBlankLine(std::string("\0\x1f ", 3)));
  EXPECT_FALSE(IsBlankLine("  x "));
  EXPECT_FALSE(IsBlankLine("!"));
  // Bytes above 127 count as printable, not as negative chars.
  EXPECT_FALSE(IsBlankLine("  \xC8"));
}

TEST(GroupBlocks, BlankLinesOnlySeparate) {
  struct Case {
    const char* page;
    std::vector<int> firstLines;
    std::vector<int> lineCounts;
  };
  const Case cases[] = {
      {"a|b||c", {0, 3}, {2, 1}},
      {"||a|b", {2}, {2}},                 // leading blank lines skipped
      {"a|b| ||", {0}, {2}},               // trailing blank lines ignored
      {"a| |  ||\t|b|c", {0, 5}, {1, 2}},  // a run of blanks is one separator
      {"", {}, {}},
      {" | |", {}, {}},
      {"a", {0}, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    std::vector<int> firstLines;
    std::vector<int> lineCounts;
    for (const Block& block : GroupBlocks(PageLines(c.page))) {
      firstLines.push_back(block.firstLine);
      lineCounts.push_back(block.lineCount);
    }
    EXPECT_EQ(firstLines, c.firstLines);
    EXPECT_EQ(lineCounts, c.lineCounts);
  }
}

TEST(GroupBlocks, ManyBlocksAndLongBlocksAreKeptWhole) {
  // 40 blocks of one line, then one block of 200 lines: beyond any fixed 31 x 127 table.
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) {
    lines.push_back("x");
    lines.push_back("");
  }
  for (int i = 0; i < 200; ++i) lines.push_back("y");
  const std::vector<Block> blocks = GroupBlocks(lines);
  ASSERT_EQ(blocks.size(), 41u);
  EXPECT_EQ(blocks[39].firstLine, 78);
  EXPECT_EQ(blocks[40].firstLine, 80);
  EXPECT_EQ(blocks[40].lineCount, 200);
}

TEST(PieceCount, StepsAtEachThresholdAndCapsAtFour) {
  struct Case {
    int lineCount;
    int threshold;
    int pieces;
  };
  const Case cases[] = {
      {2, 90, 1},    {90, 90, 1},   {91, 90, 2},   {180, 90, 2},  {181, 90, 3},
      {270, 90, 3},  {271, 90, 4},  {480, 90, 4},  {120, 120, 1}, {121, 120, 2},
      {240, 120, 2}, {241, 120, 3}, {360, 120, 3}, {361, 120, 4}, {480, 120, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PieceCount(c.lineCount, c.threshold), c.pieces) << c.lineCount << " / " << c.threshold;
}

TEST(SplitBlocks, LargestProductWinsAndEarlierCutBreaksTies) {
  struct Case {
    std::vector<int> blockSizes;
    int pieces;
    std::vector<int> firstBlocks;
    std::vector<int> heights;
  };
  const Case cases[] = {
      {{10, 10, 30}, 2, {0, 2}, {21, 30}},      // 630 beats 10 x 41 = 410
      {{5, 5, 5, 5}, 2, {0, 2}, {11, 11}},      // 121 beats 85 either side
      {{3, 1, 3}, 2, {0, 1}, {3, 5}},           // 3 x 5 = 5 x 3: the earlier cut
      {{2, 2, 2, 2}, 3, {0, 1, 2}, {2, 2, 5}},  // 2x2x5 = 2x5x2 = 5x2x2: earliest
      {{4, 4, 4, 4, 4, 4, 4, 4}, 4, {0, 2, 4, 6}, {9, 9, 9, 9}},
      {{1, 1, 1, 40}, 2, {0, 3}, {5, 40}},
      {{10, 10, 30}, 1, {0}, {52}},  // one piece holds everything
      {{7}, 1, {0}, {7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.blockSizes) + " in " + std::to_string(c.pieces));
    const std::vector<Piece> pieces = SplitBlocks(BlocksOfSizes(c.blockSizes), c.pieces);
    EXPECT_EQ(PieceFirstBlocks(pieces), c.firstBlocks);
    EXPECT_EQ(PieceHeights(pieces), c.heights);
  }
}

TEST(SplitBlocks, PiecesCoverEveryBlockInOrder) {
  const std::vector<Block> blocks = BlocksOfSizes({3, 9, 1, 4, 4, 12, 2, 6, 5});
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    const std::vector<Piece> pieces = SplitBlocks(blocks, k);
    ASSERT_EQ(pieces.size(), static_cast<std::size_t>(k));
    int next = 0;
    for (const Piece& piece : pieces) {
      EXPECT_EQ(piece.firstBlock, next);
      EXPECT_GE(piece.blockCount, 1);
      next += piece.blockCount;
    }
    EXPECT_EQ(next, 9);
  }
}

TEST(SplitBlocks, FewerBlocksThanPiecesGivesOnePiecePerBlock) {
  const std::vector<Piece> pieces = SplitBlocks(BlocksOfSizes({150, 20}), 4);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(PieceFirstBlocks(pieces), (std::vector<int>{0, 1}));
  EXPECT_EQ(PieceHeights(pieces), (std::vector<int>{150, 20}));
  EXPECT_EQ(pieces[0].blockCount, 1);
}

TEST(SplitBlocks, NoBlocksGivesNoPieces) {
  for (int k = 1; k <= 4; ++k) EXPECT_TRUE(SplitBlocks({}, k).empty());
}

TEST(SplitBlocks, PieceCountOutsideOneToFourIsRejected) {
  EXPECT_THROW(SplitBlocks(BlocksOfSizes({1, 1}), 0), std::out_of_range);
  EXPECT_THROW(SplitBlocks(BlocksOfSizes({1, 1}), 5), std::out_of_range);
}

TEST(SplitBlocks, MoreThan31BlocksAndBlocksOver127LinesAreSplitWhole) {
  // 60 blocks of 2 lines and one of 200 lines: every block lands in some piece.
  std::vector<int> sizes(60, 2);
  sizes.push_back(200);
  const std::vector<Piece> pieces = SplitBlocks(BlocksOfSizes(sizes), 2);
  ASSERT_EQ(pieces.size(), 2u);
  // 60 x 2 lines + 59 separators = 179 against the 200-line block alone: 179 x 200.
  EXPECT_EQ(PieceFirstBlocks(pieces), (std::vector<int>{0, 60}));
  EXPECT_EQ(PieceHeights(pieces), (std::vector<int>{179, 200}));
  EXPECT_EQ(pieces[0].blockCount + pieces[1].blockCount, 61);
}

}  // namespace

namespace {

// The cut of the plain definition: every placement of the cuts in ascending order,
// a later one winning only with a strictly larger product.
std::vector<int> ReferenceStarts(const std::vector<int>& sizes, int pieces) {
  const int count = static_cast<int>(sizes.size());
  const auto height = [&](int first, int end) {
    long long lines = 0;
    for (int b = first; b < end; ++b) lines += sizes[static_cast<std::size_t>(b)];
    return lines + (end - first - 1);
  };
  std::vector<int> best;
  long long bestProduct = -1;
  std::vector<int> starts(static_cast<std::size_t>(pieces), 0);
  const std::function<void(int, int)> place = [&](int piece, int earliest) {
    if (piece == pieces) {
      long long product = 1;
      for (int p = 0; p < pieces; ++p)
        product *= height(starts[static_cast<std::size_t>(p)],
                          p + 1 < pieces ? starts[static_cast<std::size_t>(p + 1)] : count);
      if (product > bestProduct) {
        bestProduct = product;
        best = starts;
      }
      return;
    }
    for (int start = earliest; start <= count - (pieces - piece); ++start) {
      starts[static_cast<std::size_t>(piece)] = start;
      place(piece + 1, start + 1);
    }
  };
  place(1, 1);
  return best;
}

}  // namespace

TEST(SplitBlocks, AgreesWithTryingEveryCutIncludingTies) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 3000; ++round) {
    const int count = 1 + static_cast<int>(random() % 14);
    // Small sizes from few values make equal products, and so ties, common.
    std::vector<int> sizes;
    for (int b = 0; b < count; ++b) sizes.push_back(1 + static_cast<int>(random() % (round % 2 == 0 ? 3 : 40)));
    std::vector<Block> blocks;
    int line = 0;
    for (const int size : sizes) {
      blocks.push_back({line, size});
      line += size + 1;
    }
    for (int pieces = 1; pieces <= std::min(4, count); ++pieces) {
      std::vector<int> starts;
      for (const Piece& piece : SplitBlocks(blocks, pieces)) starts.push_back(piece.firstBlock);
      ASSERT_EQ(starts, ReferenceStarts(sizes, pieces)) << "round " << round << ", " << pieces << " pieces";
    }
  }
}
