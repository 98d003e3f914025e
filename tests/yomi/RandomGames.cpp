#include "tests/yomi/RandomGames.h"

#include <stdexcept>

std::vector<_Rev> LegalPlacements(const BoardModel& board, std::int32_t side) {
  std::vector<_Rev> placements;
  for (int x = 0; x < board.FCols; ++x)
    for (int y = 0; y < board.FRows; ++y)
      if (board.HaichiCheck(_Rev{x, y, side})) placements.push_back(_Rev{x, y, side});
  return placements;
}

namespace {

BoardModel StartingBoard(int cols, int rows) {
  BoardModel board;
  board.ResizeBoard(cols, rows);
  const int x = cols / 2 - 1;
  const int y = rows / 2 - 1;
  board.SetKoma(_Rev{x, y, 2});
  board.SetKoma(_Rev{x + 1, y, 1});
  board.SetKoma(_Rev{x, y + 1, 1});
  board.SetKoma(_Rev{x + 1, y + 1, 2});
  return board;
}

}  // namespace

TestPosition RandomPosition(std::mt19937& rng, int empties, int cols, int rows) {
  if (empties < 1 || empties > cols * rows - 4) throw std::invalid_argument("no such position");
  for (;;) {
    TestPosition at{StartingBoard(cols, rows), 1};
    for (int passes = 0; passes < 2;) {
      const std::vector<_Rev> moves = LegalPlacements(at.board, at.side);
      if (cols * rows - at.board.FKomaCount == empties && !moves.empty()) return at;
      if (moves.empty()) {
        ++passes;
      } else {
        passes = 0;
        at.board.KomaGaeshi(moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)]);
      }
      at.side = 3 - at.side;
    }
  }
}
