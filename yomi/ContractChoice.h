#pragma once
// Between the caller's board and the search: the 8 x 8 board goes to the bitboard search,
// any other shape to a plain choice that reads the caller's cells directly.
#include <cstdint>
#include <optional>

#include "contract/EngineContract.h"
#include "yomi/Bitboard.h"
#include "yomi/Thinker.h"

namespace yomi {

struct Placement {
  std::int32_t x;
  std::int32_t y;
  std::int32_t gain;  // the placed stone and every stone it turns
};

// The caller's 8 x 8 board seen from side: its stones are ours, any other non-zero cell the opponent's.
Position ReadPosition(EngineBoard board, std::int32_t side);

// Nothing for a board the contract does not allow (smaller than 3 x 3, a missing column, side
// 0) or when side has no legal move. Only reads the board.
std::optional<Placement> ChooseForContract(const Level& level, const EngineBoardSize* size, EngineBoard board,
                                           std::int32_t side, const ThinkOptions& options);

}  // namespace yomi
