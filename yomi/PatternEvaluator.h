#pragma once
// The trained judgement: the sum of the weights the position's features select in its stage.
#include <cstdint>

#include "yomi/Evaluator.h"

namespace yomi {

class PatternEvaluator : public Evaluator {
 public:
  // weights: kTotalWeights values in 1/128 stone, stage after stage (see Patterns.h).
  explicit PatternEvaluator(const std::int16_t* weights) : weights_(weights) {}
  int Evaluate(const Position& p) const override;

 private:
  const std::int16_t* weights_;
};

}  // namespace yomi
