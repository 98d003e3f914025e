// The bitboard move generator against the published move-path counts from the start.
#include <gtest/gtest.h>

#include <cstdint>

#include "yomi/Bitboard.h"

namespace {

using yomi::Bits;
using yomi::Position;

// Move paths of the given length; a pass counts as a move, a finished game ends its path.
std::uint64_t Perft(const Position& p, int depth, bool passed = false) {
  if (depth == 0) return 1;
  Bits moves = yomi::LegalMoves(p.own, p.opp);
  if (!moves) return passed ? 1 : Perft(p.Pass(), depth - 1, true);
  std::uint64_t paths = 0;
  for (; moves; moves &= moves - 1) {
    const int square = yomi::FirstSquare(moves);
    paths += Perft(p.Play(square, yomi::Flips(p.own, p.opp, square)), depth - 1);
  }
  return paths;
}

}  // namespace

TEST(YomiMoveGenerator, CountsThePublishedMovePathsFromTheStart) {
  const std::uint64_t published[] = {4, 12, 56, 244, 1396, 8200, 55092, 390216};
  for (int depth = 1; depth <= 8; ++depth)
    EXPECT_EQ(Perft(yomi::StartPosition(), depth), published[depth - 1]) << depth << " moves";
}
