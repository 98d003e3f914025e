#include "gamelog/Replay.h"

namespace gamelog {

namespace {
int Other(int side) { return side == 1 ? 2 : 1; }
}  // namespace

Replay::Replay(const Position& start) {
  board_.ResizeBoard(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (const int value = start.At(x, y)) board_.SetKoma(_Rev{x, y, value});
  board_.FTurn = start.sideToMove == 2 ? 2 : 1;
}

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

Position Replay::Current() const {
  Position p;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) p.cells[static_cast<std::size_t>(y * 8 + x)] = static_cast<std::int8_t>(board_.Cell(x, y));
  p.sideToMove = board_.FTurn;
  return p;
}

}  // namespace gamelog
