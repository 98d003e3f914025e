#pragma once
#include <QString>

#include <vector>

#include "game/BoardModel.h"
#include "gamelog/GameRecord.h"

namespace gamelog {

// A game played through from its start under the rules, one move at a time: what a record says
// is taken only when it is legal, and passes are filled in where the rules make them.
class Replay {
 public:
  explicit Replay(const Position& start);

  // Plays a placement for its side, first passing for the side to move when that side has no
  // placement (a transcript leaves passes out). An explicit pass is taken only from a side
  // that has no placement. False, with nothing changed, when the move is not legal here.
  bool Play(const Move& move);
  // Plays a placement for whichever side is to move (a transcript's moves name no side).
  bool PlayCell(int x, int y);

  // Neither side can place: the game is over.
  bool Over() const;
  const std::vector<Move>& Moves() const { return moves_; }
  Position Current() const;
  int SideToMove() const { return board_.FTurn; }

 private:
  bool HasPlacement(int side) const { return board_.CheckKomaPut(side); }
  void PassTurn();

  BoardModel board_;
  std::vector<Move> moves_;
};

}  // namespace gamelog
