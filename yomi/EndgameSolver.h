#pragma once
// The exact end of the game: the final stone difference under best play from both sides.
#include <optional>
#include <vector>

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
  // clock stopped the search first. The moves are tried in the order given (all legal moves,
  // best guess first), or in the solver's own order when none is given.
  std::optional<SolvedMove> BestMove(const Position& p, std::vector<int> order = {});

  // Win, draw or loss only, which is much quicker to prove: the first move of the order that
  // wins (value 1), else the first that draws (0), else the order's first (-1). Nothing when
  // the clock stopped the search first.
  std::optional<SolvedMove> WinningMove(const Position& p, const std::vector<int>& order);

  // The legal moves of p in the order the solver would try them.
  std::vector<int> SolvingOrder(const Position& p) const;

 private:
  int Sorted(const Position& p, int empties, int alpha, int beta, bool passed);
  int Unsorted(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed);
  int AfterPass(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed);

  // Fastest first: the moves that leave the opponent the fewest replies, the hint before all.
  void Order(const Position& p, int hint, class MoveList& moves) const;

  TranspositionTable& table_;
  SearchClock& clock_;
};

}  // namespace yomi
