#pragma once
// Looking a fixed number of moves ahead: principal variation search over an evaluator, with
// the table and move ordering to cut the tree.
#include <vector>

#include "yomi/Bitboard.h"
#include "yomi/Evaluator.h"
#include "yomi/SearchClock.h"
#include "yomi/TranspositionTable.h"

namespace yomi {

struct RootMove {
  int square = 0;
  Bits flips = 0;
  int value = 0;  // exact for the best move; for the others exact or an upper bound, see below
};

class MidgameSearch {
 public:
  MidgameSearch(const Evaluator& evaluator, TranspositionTable& table, SearchClock& clock)
      : evaluator_(evaluator), table_(table), clock_(clock) {}

  // Searches every root move depth moves deep and sorts them best first, the previous order
  // deciding the search order. With exactAll each move gets its exact value, else only the
  // best does. False when the clock stopped the search: the moves keep their order, except
  // that a move already proven better than the first at this depth moves to the front.
  bool SearchRoot(const Position& p, int depth, bool exactAll, std::vector<RootMove>& moves);

  // The value of p, depth moves deep, fail-soft inside (alpha, beta).
  int Search(const Position& p, int depth, int alpha, int beta, bool passed);

 private:
  void Order(const Position& p, int depth, int hint, class MoveList& moves) const;

  const Evaluator& evaluator_;
  TranspositionTable& table_;
  SearchClock& clock_;
};

// Every legal move of p, in board order, valued 0.
std::vector<RootMove> RootMoves(const Position& p);

}  // namespace yomi
