#include "gamelog/Replay.h"

#include "gamelog/FromGame.h"

namespace gamelog {

namespace {
int Other(int side) { return side == 1 ? 2 : 1; }
}  // namespace

Replay::Replay(const Position& start) { SetUpBoard(start, board_); }

void Replay::PassTurn() {
  moves_.push_back(Move::Pass(board_.FTurn));
  board_.FTurn = Other(board_.FTurn);
}

bool Replay::Play(const Move& move) {
  if (move.side != 1 && move.side != 2) return false;
  if (move.IsPass()) {
    if (move.side != board_.FTurn || HasPlacement(move.side) || Over()) return false;
    PassTurn();
    return true;
  }
  const _Rev placement{move.x, move.y, move.side};
  if (!board_.HaichiCheck(placement)) return false;
  if (move.side != board_.FTurn) {
    // The side to move must have passed; anything else is a move out of turn.
    if (HasPlacement(board_.FTurn)) return false;
    PassTurn();
  }
  board_.KomaGaeshi(placement);
  moves_.push_back(move);
  board_.FTurn = Other(move.side);
  return true;
}

bool Replay::PlayCell(int x, int y) {
  const int side = HasPlacement(board_.FTurn) ? board_.FTurn : Other(board_.FTurn);
  return Play(Move{side, x, y});
}

bool Replay::Over() const { return !HasPlacement(1) && !HasPlacement(2); }

Position Replay::Current() const { return PositionOf(board_, board_.FTurn); }

}  // namespace gamelog
