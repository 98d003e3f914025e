#include "yomi/ContractChoice.h"

#include "yomi/AnyBoardChoice.h"

namespace yomi {

namespace {

bool Acceptable(const EngineBoardSize* size, EngineBoard board, std::int32_t side) {
  if (!size || !board || size->columns < 3 || size->rows < 3 || side == VELM_ENGINE_EMPTY) return false;
  for (std::int32_t x = 0; x < size->columns; ++x)
    if (!board[x]) return false;
  return true;
}

}  // namespace

Position ReadPosition(EngineBoard board, std::int32_t side) {
  Position p;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      const std::int32_t cell = board[x][y];
      if (cell == side)
        p.own |= Bit(Square(x, y));
      else if (cell != VELM_ENGINE_EMPTY)
        p.opp |= Bit(Square(x, y));
    }
  return p;
}

std::optional<Placement> ChooseForContract(const Level& level, const EngineBoardSize* size, EngineBoard board,
                                           std::int32_t side, const ThinkOptions& options) {
  if (!Acceptable(size, board, side)) return std::nullopt;
  if (size->columns != 8 || size->rows != 8) return ChooseOnAnyBoard(size->columns, size->rows, board, side);
  const Position p = ReadPosition(board, side);
  const int square = ChooseSquare(p, level, options);
  if (square == kNoSquare) return std::nullopt;
  return Placement{square % 8, square / 8, 1 + Count(Flips(p.own, p.opp, square))};
}

}  // namespace yomi
