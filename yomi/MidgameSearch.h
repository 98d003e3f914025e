#pragma once
// Looking a fixed number of moves ahead: principal variation search over an evaluator, with
// the table and move ordering to cut the tree.
#include <optional>
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

// Cut-offs by a shallow search (probable cuts): from this depth on, a node whose shallow
// search lies far enough outside a null window is taken to fall outside it at full depth too.
constexpr int kProbCutFrom = 3;
// The depth of that shallow search: about half, with the same parity, since evaluations after
// our move and after the opponent's differ in their bias.
constexpr int ShallowDepth(int depth) { return depth - 2 * ((depth + 2) / 4); }

class MidgameSearch {
 public:
  MidgameSearch(const Evaluator& evaluator, TranspositionTable& table, SearchClock& clock, bool probableCuts)
      : evaluator_(evaluator), table_(table), clock_(clock), probableCuts_(probableCuts) {}

  // Searches every root move depth moves deep and sorts them best first, the previous order
  // deciding the search order. With exactAll each move gets its exact value, else only the
  // best does. False when the clock stopped the search: the moves keep their order, except
  // that a move already proven better than the first at this depth moves to the front.
  bool SearchRoot(const Position& p, int depth, bool exactAll, std::vector<RootMove>& moves);

  // The value of p, depth moves deep, fail-soft inside (alpha, beta).
  int Search(const Position& p, int depth, int alpha, int beta, bool passed);

 private:
  void Order(const Position& p, int depth, int hint, class MoveList& moves) const;
  // Whether a shallow search already says the null window (alpha, alpha + 1) fails; its side.
  std::optional<int> ProbableCut(const Position& p, int depth, int alpha, bool passed);

  const Evaluator& evaluator_;
  TranspositionTable& table_;
  SearchClock& clock_;
  bool probableCuts_;
};

// Every legal move of p, in board order, valued 0.
std::vector<RootMove> RootMoves(const Position& p);

}  // namespace yomi
