#include "yomi/Stability.h"

#include <array>

namespace yomi {

namespace {

constexpr Bits kNotLeftColumn = 0xFEFEFEFEFEFEFEFEULL;
constexpr Bits kNotRightColumn = 0x7F7F7F7F7F7F7F7FULL;
constexpr Bits kLeftAndRight = 0x8181818181818181ULL;
constexpr Bits kTopAndBottom = 0xFF000000000000FFULL;
constexpr Bits kEdges = kLeftAndRight | kTopAndBottom;

// The cells of each diagonal, both ways, as sets.
constexpr std::array<Bits, 30> MakeDiagonals() {
  std::array<Bits, 30> lines{};
  for (int d = 0; d < 15; ++d)
    for (int x = 0; x < 8; ++x) {
      const int down = x - 7 + d;  // cells (x, x - 7 + d): one way
      const int up = d - x;        // cells (x, d - x): the other
      if (down >= 0 && down < 8) lines[d] |= Bit(Square(x, down));
      if (up >= 0 && up < 8) lines[15 + d] |= Bit(Square(x, up));
    }
  return lines;
}
constexpr auto kDiagonals = MakeDiagonals();

Bits FullRows(Bits occupied) {
  Bits r = occupied & (occupied >> 4);
  r &= r >> 2;
  r &= r >> 1;
  return (r & 0x0101010101010101ULL) * 0xFF;
}

Bits FullColumns(Bits occupied) {
  Bits c = occupied & (occupied >> 32);
  c &= c >> 16;
  c &= c >> 8;
  return (c & 0xFF) * 0x0101010101010101ULL;
}

// Filled diagonals: the first 15 one way, the rest the other.
void FullDiagonals(Bits occupied, Bits& oneWay, Bits& otherWay) {
  oneWay = otherWay = 0;
  for (int d = 0; d < 15; ++d) {
    if ((occupied & kDiagonals[d]) == kDiagonals[d]) oneWay |= kDiagonals[d];
    if ((occupied & kDiagonals[15 + d]) == kDiagonals[15 + d]) otherWay |= kDiagonals[15 + d];
  }
}

}  // namespace

Bits StableStones(Bits stones, Bits occupied) {
  const Bits rows = FullRows(occupied) | kLeftAndRight;
  const Bits columns = FullColumns(occupied) | kTopAndBottom;
  Bits diagonal = 0, antiDiagonal = 0;
  FullDiagonals(occupied, diagonal, antiDiagonal);
  diagonal |= kEdges;
  antiDiagonal |= kEdges;
  Bits stable = 0;
  for (;;) {
    const Bits sideways = rows | ((stable << 1) & kNotLeftColumn) | ((stable >> 1) & kNotRightColumn);
    const Bits upDown = columns | (stable << 8) | (stable >> 8);
    const Bits falling = diagonal | ((stable << 9) & kNotLeftColumn) | ((stable >> 9) & kNotRightColumn);
    const Bits rising = antiDiagonal | ((stable << 7) & kNotRightColumn) | ((stable >> 7) & kNotLeftColumn);
    const Bits grown = stones & sideways & upDown & falling & rising;
    if (grown == stable) return stable;
    stable = grown;
  }
}

}  // namespace yomi

