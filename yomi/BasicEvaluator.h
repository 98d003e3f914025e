#pragma once
// A hand-weighted judgement: mobility, potential mobility, corners, the cells beside empty
// corners, edges, and the stone count towards the end. Cheap and readable; the weaker
// characters think with it.
#include "yomi/Evaluator.h"

namespace yomi {

class BasicEvaluator : public Evaluator {
 public:
  int Evaluate(const Position& p) const override;
};

}  // namespace yomi
