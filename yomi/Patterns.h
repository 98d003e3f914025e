#pragma once
// The features the trained judgement sums: groups of cells ("shapes") read as base-3 numbers at
// every place the board's symmetries carry them, plus mobility and potential mobility counts.
// Each feature value selects one weight; a position's value is the sum of the selected weights
// of its stage. The trainer and the judgement share this file, so they read positions alike.
#include <array>
#include <cstdint>

#include "yomi/Bitboard.h"

namespace yomi {

// How a shape maps onto itself under a symmetry of the board: read backwards (lines and
// diagonals), transposed (the 3 x 3 corner), mirrored with its two X cells swapped (the edge).
enum class SelfSymmetry { None, Reversed, Transposed, EdgeMirrored };

struct Shape {
  const char* name;
  int cells;      // the table has 3^cells entries
  int instances;  // places on the board
  SelfSymmetry symmetry;
};

// Corners 3 x 3; corners 2 x 5 (both ways round); an edge with its two X cells; the second,
// third and fourth line from each edge; diagonals of 8, 7, 6, 5 and 4 cells.
constexpr std::array<Shape, 11> kShapes = {{
    {"corner3x3", 9, 4, SelfSymmetry::Transposed},
    {"corner2x5", 10, 8, SelfSymmetry::None},
    {"edgeX", 10, 4, SelfSymmetry::EdgeMirrored},
    {"line2", 8, 4, SelfSymmetry::Reversed},
    {"line3", 8, 4, SelfSymmetry::Reversed},
    {"line4", 8, 4, SelfSymmetry::Reversed},
    {"diag8", 8, 2, SelfSymmetry::Reversed},
    {"diag7", 7, 4, SelfSymmetry::Reversed},
    {"diag6", 6, 4, SelfSymmetry::Reversed},
    {"diag5", 5, 4, SelfSymmetry::Reversed},
    {"diag4", 4, 4, SelfSymmetry::Reversed},
}};

// Counts, each a table of 64 entries: the mover's legal moves, the opponent's, and the empty
// cells next to the opponent's stones and next to the mover's (potential mobility).
constexpr int kCountFeatures = 4;
constexpr int kCountTableSize = 64;

constexpr int Power3(int n) { return n == 0 ? 1 : 3 * Power3(n - 1); }

constexpr int InstanceCount() {
  int n = 0;
  for (const Shape& shape : kShapes) n += shape.instances;
  return n;
}
constexpr int kInstanceCount = InstanceCount();
constexpr int kFeatureCount = kInstanceCount + kCountFeatures;

// Where each shape's table starts within one stage's weights; the count tables follow them.
constexpr std::array<int, kShapes.size() + 1> TableOffsets() {
  std::array<int, kShapes.size() + 1> offsets{};
  for (std::size_t s = 0; s < kShapes.size(); ++s) offsets[s + 1] = offsets[s] + Power3(kShapes[s].cells);
  return offsets;
}
constexpr auto kTableOffsets = TableOffsets();
constexpr int kCountOffset = kTableOffsets.back();
constexpr int kStageWeights = kCountOffset + kCountFeatures * kCountTableSize;

// Stages by empty cells: 0 for the opening, growing towards the end.
constexpr int kStageCount = 6;
constexpr int StageOf(int empties) {
  const int stage = (60 - empties) / 10;
  return stage < 0 ? 0 : stage >= kStageCount ? kStageCount - 1 : stage;
}
constexpr int kTotalWeights = kStageCount * kStageWeights;

// Offsets into one stage's weights, one per feature: first the shape instances in the order of
// kShapes, then the four counts.
using FeatureIndices = std::array<std::int32_t, kFeatureCount>;
FeatureIndices ReadFeatures(const Position& p);

// The index of the same cells seen through the shape's own symmetry, or the index itself for
// a shape without one. Both stand for one situation, so the trainer ties their weights.
int MirroredIndex(int shape, int index);

}  // namespace yomi
