#pragma once
// The trained weights the libraries carry: kTotalWeights values (see Patterns.h).
#include <cstdint>

namespace yomi {

const std::int16_t* BuiltInWeights();

}  // namespace yomi
