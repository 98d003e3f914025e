#include "gamelog/FromGame.h"

#include "game/Game.h"
#include "gamelog/Replay.h"

namespace gamelog {

Position PositionOf(const BoardModel& board, int sideToMove) {
  Position p;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) p.cells[static_cast<std::size_t>(y * 8 + x)] = static_cast<std::int8_t>(board.Cell(x, y));
  p.sideToMove = sideToMove == 2 ? 2 : 1;
  return p;
}

void SetUpBoard(const Position& position, BoardModel& board) {
  board.ResizeBoard(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (const int value = position.At(x, y)) board.SetKoma(_Rev{x, y, value});
  board.FTurn = position.sideToMove == 2 ? 2 : 1;
}

GameRecord RecordOf(const BoardModel& start, int startTurn, const std::vector<PlayedMove>& moves, bool finished,
                    const Player& first, const Player& second, const QDateTime& started) {
  GameRecord record;
  record.started = started;
  record.first = first;
  record.second = second;
  record.start = PositionOf(start, startTurn);
  record.finished = finished;
  Replay replay(record.start);
  for (const PlayedMove& played : moves) {
    const _Rev& m = played.move;
    const Move move = played.IsPass() ? Move::Pass(m.value) : Move{m.value, m.x, m.y};
    // The model's own moves are legal; what the replay refuses is the passes after the end.
    if (!replay.Play(move)) break;
  }
  record.moves = replay.Moves();
  return record;
}

}  // namespace gamelog
