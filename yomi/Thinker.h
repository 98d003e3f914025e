#pragma once
// One move's thinking for a level: deepen the search while the time allows, solve the end
// exactly when it is near, and answer the best square found.
#include <cstdint>

#include "yomi/Bitboard.h"
#include "yomi/Levels.h"

namespace yomi {

struct ThinkOptions {
  double timeScale = 1.0;  // multiplies every time budget of the level; at most 1
  std::uint32_t seed = 0;  // for the levels that play with noise
  // The trained judgement's weights (kTotalWeights of them, see Patterns.h); without them the
  // levels that want it think with the plain one.
  const std::int16_t* weights = nullptr;
};

// The square chosen for the mover, or kNoSquare when the mover has no legal move.
int ChooseSquare(const Position& p, const Level& level, const ThinkOptions& options);

}  // namespace yomi
