#include "yomi/BasicEvaluator.h"

#include <algorithm>

namespace yomi {

namespace {

// Diagonal neighbours of the corners (X cells) and their edge neighbours (C cells), each as a
// set per corner, corners in the order of kCornerCells.
constexpr int kCornerCells[4] = {0, 7, 56, 63};
constexpr Bits kXCells[4] = {Bit(9), Bit(14), Bit(49), Bit(54)};
constexpr Bits kCCells[4] = {Bit(1) | Bit(8), Bit(6) | Bit(15), Bit(48) | Bit(57), Bit(55) | Bit(62)};
constexpr Bits kEdges = 0xFF818181818181FFULL;

// Weights in 1/128 stone, for the opening (60 empties) and the end (0 empties); the phase
// blends linearly between them.
struct Weights {
  int mobility, potential, corner, xCell, cCell, edge, stones;
};
constexpr Weights kOpening{96, 40, 1100, -500, -180, 30, -10};
constexpr Weights kEnd{40, 8, 500, -120, -40, 10, 128};

int Blend(int opening, int end, int empties) { return (opening * empties + end * (60 - empties)) / 60; }

// own minus opp under the weight of a feature.
int Balance(int own, int opp, int weightOpening, int weightEnd, int empties) {
  return (own - opp) * Blend(weightOpening, weightEnd, empties);
}

}  // namespace

int BasicEvaluator::Evaluate(const Position& p) const {
  const Bits empty = p.Empty();
  const int empties = std::clamp(Count(empty), 0, 60);
  int value = 0;
  value += Balance(Count(LegalMoves(p.own, p.opp)), Count(LegalMoves(p.opp, p.own)), kOpening.mobility, kEnd.mobility,
                   empties);
  value += Balance(Count(EmptyNeighbours(p.opp, empty)), Count(EmptyNeighbours(p.own, empty)), kOpening.potential,
                   kEnd.potential, empties);
  value += Balance(Count(p.own & kCorners), Count(p.opp & kCorners), kOpening.corner, kEnd.corner, empties);
  for (int c = 0; c < 4; ++c) {
    if (!(empty & Bit(kCornerCells[c]))) continue;
    value += Balance(Count(p.own & kXCells[c]), Count(p.opp & kXCells[c]), kOpening.xCell, kEnd.xCell, empties);
    value += Balance(Count(p.own & kCCells[c]), Count(p.opp & kCCells[c]), kOpening.cCell, kEnd.cCell, empties);
  }
  value += Balance(Count(p.own & kEdges), Count(p.opp & kEdges), kOpening.edge, kEnd.edge, empties);
  value += Balance(Count(p.own), Count(p.opp), kOpening.stones, kEnd.stones, empties);
  return std::clamp(value, -kHighestValue + 1, kHighestValue - 1);
}

}  // namespace yomi
