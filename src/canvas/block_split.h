// Groups a page's lines into blocks at blank lines and cuts the blocks into
// pieces of balanced height, one piece per sheet or half sheet. Both print
// paths (canvas and PCL) use it. No I/O, no printer.
#pragma once

#include <string>
#include <vector>

// A run of consecutive non-blank lines of a page: lines [firstLine, firstLine + lineCount),
// counted from 0.
struct Block {
  int firstLine = 0;
  int lineCount = 0;
};

// A run of consecutive blocks printed as one sheet (portrait) or one column (landscape):
// blocks [firstBlock, firstBlock + blockCount). Its height is the sum of its blocks' line
// counts plus one blank line between each two of its blocks.
struct Piece {
  int firstBlock = 0;
  int blockCount = 0;
  int height = 0;
};

// True when `line` is empty or holds no byte above 32.
bool IsBlankLine(const std::string& line);

// The blocks of `lines` in page order; leading, trailing and repeated blank lines separate only.
std::vector<Block> GroupBlocks(const std::vector<std::string>& lines);

// The piece count for a page of `lineCount` lines with threshold `pieceThreshold`:
// (lineCount - 1) / threshold + 1, at most 4.
int PieceCount(int lineCount, int pieceThreshold);

// Cuts `blocks` into `pieceCount` (1..4) consecutive non-empty pieces whose heights have the
// largest product; among equal products the earliest cuts win. With fewer blocks than
// pieces, each block becomes one piece; with no blocks the result is empty.
std::vector<Piece> SplitBlocks(const std::vector<Block>& blocks, int pieceCount);
