#pragma once
// The exact end of the game: the final stone difference under best play from both sides.
#include <optional>

#include "yomi/Bitboard.h"
#include "yomi/SearchClock.h"
#include "yomi/TranspositionTable.h"

namespace yomi {

struct SolvedMove {
  int square;
  int value;  // the mover's stones minus the opponent's once the game is over
};

class EndgameSolver {
 public:
  EndgameSolver(TranspositionTable& table, SearchClock& clock) : table_(table), clock_(clock) {}

  // Fail-soft: the exact value when it lies strictly between alpha and beta, else a bound on
  // the side it fell. Meaningless once the clock has stopped the search.
  int Solve(const Position& p, int alpha, int beta);

  // The best move of a position where the mover has one, with its value; nothing when the
  // clock stopped the search first.
  std::optional<SolvedMove> BestMove(const Position& p);

 private:
  int Sorted(const Position& p, int empties, int alpha, int beta, bool passed);
  int Unsorted(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed);
  int AfterPass(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed);

  TranspositionTable& table_;
  SearchClock& clock_;
};

}  // namespace yomi
