#pragma once
// A plain choice for boards that are not 8 x 8, of any shape from 3 x 3 up: one move deep,
// corners first, then edges, away from the cells that open a corner, most stones turned last.
#include <cstdint>
#include <optional>

#include "contract/EngineContract.h"

namespace yomi {

struct Placement;

std::optional<Placement> ChooseOnAnyBoard(std::int32_t cols, std::int32_t rows, EngineBoard board, std::int32_t side);

}  // namespace yomi
