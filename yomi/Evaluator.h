#pragma once
// Judging a position where the search stops: how good it is for the side to move.
#include "yomi/Bitboard.h"

namespace yomi {

// Values are in 1/128 of a stone, so evaluations and exact results share one scale.
constexpr int kStoneValue = 128;
constexpr int kHighestValue = 64 * kStoneValue;

class Evaluator {
 public:
  virtual ~Evaluator() = default;
  // Strictly between -kHighestValue and kHighestValue.
  virtual int Evaluate(const Position& p) const = 0;
};

// Empty cells next to a stone of `stones`: where the other side may one day place.
inline Bits EmptyNeighbours(Bits stones, Bits empty) {
  const Bits noLeft = 0xFEFEFEFEFEFEFEFEULL;  // cells whose left neighbour exists
  const Bits noRight = 0x7F7F7F7F7F7F7F7FULL;
  const Bits near = ((stones << 1) & noLeft) | ((stones >> 1) & noRight) | (stones << 8) | (stones >> 8) |
                    ((stones << 9) & noLeft) | ((stones >> 7) & noLeft) | ((stones << 7) & noRight) |
                    ((stones >> 9) & noRight);
  return near & empty;
}

}  // namespace yomi
