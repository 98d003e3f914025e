#include "yomi/PatternEvaluator.h"

#include <algorithm>

#include "yomi/Patterns.h"

namespace yomi {

int PatternEvaluator::Evaluate(const Position& p) const {
  const std::int16_t* stage = weights_ + static_cast<std::ptrdiff_t>(StageOf(p.Empties())) * kStageWeights;
  int value = 0;
  for (const std::int32_t index : ReadFeatures(p)) value += stage[index];
  return std::clamp(value, -kHighestValue + 1, kHighestValue - 1);
}

}  // namespace yomi
