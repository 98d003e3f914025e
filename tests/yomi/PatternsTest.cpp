// The trained judgement's features must not depend on which way round the board lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "tests/yomi/RandomGames.h"
#include "yomi/ContractChoice.h"
#include "yomi/Patterns.h"

namespace {

using Transform = std::function<std::pair<int, int>(int, int)>;

// The board's eight symmetries, cell by cell.
const std::vector<Transform> kSymmetries = {
    [](int x, int y) { return std::pair{x, y}; },         [](int x, int y) { return std::pair{7 - x, y}; },
    [](int x, int y) { return std::pair{x, 7 - y}; },     [](int x, int y) { return std::pair{7 - x, 7 - y}; },
    [](int x, int y) { return std::pair{y, x}; },         [](int x, int y) { return std::pair{7 - y, x}; },
    [](int x, int y) { return std::pair{y, 7 - x}; },     [](int x, int y) { return std::pair{7 - y, 7 - x}; },
};

yomi::Position Transformed(const yomi::Position& p, const Transform& t) {
  yomi::Position out;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const auto [tx, ty] = t(x, y);
      if (p.own & yomi::Bit(yomi::Square(x, y))) out.own |= yomi::Bit(yomi::Square(tx, ty));
      if (p.opp & yomi::Bit(yomi::Square(x, y))) out.opp |= yomi::Bit(yomi::Square(tx, ty));
    }
  return out;
}

// The features up to their order, with mirrored situations counted as one.
std::vector<int> FeatureSet(const yomi::Position& p) {
  const yomi::FeatureIndices features = yomi::ReadFeatures(p);
  std::vector<int> set;
  int i = 0;
  for (std::size_t s = 0; s < yomi::kShapes.size(); ++s)
    for (int n = 0; n < yomi::kShapes[s].instances; ++n, ++i) {
      const int index = features[i] - yomi::kTableOffsets[s];
      set.push_back(yomi::kTableOffsets[s] + std::min(index, yomi::MirroredIndex(static_cast<int>(s), index)));
    }
  set.insert(set.end(), features.begin() + i, features.end());
  std::sort(set.begin(), set.end());
  return set;
}

}  // namespace

TEST(YomiPatterns, ReadTheSameFeaturesUnderEverySymmetryOfTheBoard) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    const TestPosition at = RandomPosition(rng, 4 + round % 56);
    const yomi::Position p = yomi::ReadPosition(at.board.FBan, at.side);
    const std::vector<int> expected = FeatureSet(p);
    for (std::size_t t = 1; t < kSymmetries.size(); ++t)
      ASSERT_EQ(FeatureSet(Transformed(p, kSymmetries[t])), expected) << "symmetry " << t << ", round " << round;
  }
}
