#include "yomi/MidgameSearch.h"

#include <algorithm>
#include <iterator>

#include "yomi/MoveList.h"

namespace yomi {

namespace {

constexpr int kBelowAll = -kHighestValue - 1;
constexpr int kAboveAll = kHighestValue + 1;
// From this depth on, moves are ordered by the evaluation of the position they lead to.
constexpr int kEvaluatedOrderFrom = 3;
// Nodes this close to the leaves are cheaper to search again than to look up.
constexpr int kTableFrom = 2;

int FinalValue(const Position& p) { return p.Difference() * kStoneValue; }

// How the value of a search d deep differs from one ShallowDepth(d) deep, indexed by d: the
// mean difference (odd and even depths lean opposite ways) and its standard deviation, in
// 1/128 stone.
// Measured by yomi_probcut_stats (300 positions of round 3 of the self-play, depth 11) with the
// shipped weights; the last entry serves for all deeper searches.
struct ShallowError {
  int bias;
  int spread;
};
constexpr ShallowError kShallowError[] = {{0, 0},    {0, 0},    {0, 0},    {-46, 402}, {-68, 362}, {45, 319},
                                          {-54, 457}, {80, 408}, {41, 404}, {48, 365},  {42, 420},  {52, 404}};
// Cuts are taken when the shallow value lies this many spreads (in tenths) outside the window.
constexpr int kCutConfidence = 10;

const ShallowError& ErrorAt(int depth) {
  constexpr int kLast = static_cast<int>(std::size(kShallowError)) - 1;
  return kShallowError[std::min(depth, kLast)];
}

}  // namespace

std::vector<RootMove> RootMoves(const Position& p) {
  std::vector<RootMove> moves;
  for (Bits legal = LegalMoves(p.own, p.opp); legal; legal &= legal - 1) {
    const int square = FirstSquare(legal);
    moves.push_back({square, Flips(p.own, p.opp, square), 0});
  }
  return moves;
}

void MidgameSearch::Order(const Position& p, int depth, int hint, MoveList& moves) const {
  for (ScoredMove& move : moves) {
    if (move.square == hint)
      move.score = kBelowAll;
    else if (depth >= kEvaluatedOrderFrom)
      move.score = evaluator_.Evaluate(p.Play(move.square, move.flips));  // the opponent's view: low is good for us
    else
      move.score = ReplyCountScore(p, move);
  }
  moves.Sort();
}

int MidgameSearch::Search(const Position& p, int depth, int alpha, int beta, bool passed) {
  if (clock_.Tick()) return alpha;
  // Most nodes are leaves: judged as they stand, without looking for moves first.
  if (depth == 0) return p.Empty() ? evaluator_.Evaluate(p) : FinalValue(p);
  const Bits legal = LegalMoves(p.own, p.opp);
  if (!legal) {
    if (passed || !LegalMoves(p.opp, p.own)) return FinalValue(p);
    return -Search(p.Pass(), depth, -beta, -alpha, true);
  }
  if (probableCuts_ && depth >= kProbCutFrom && beta == alpha + 1)
    if (const auto cut = ProbableCut(p, depth, alpha, passed)) return *cut;

  int hint = kNoSquare;
  const bool tabled = depth >= kTableFrom;
  if (const TableEntry* entry = tabled ? table_.Find(p) : nullptr) {
    hint = entry->move;
    if (entry->depth >= depth)
      if (const auto settled = Settle(*entry, alpha, beta)) return *settled;
  }

  MoveList moves(p, legal);
  Order(p, depth, hint, moves);
  const Searched best = SearchInOrder(p, moves, alpha, beta, kBelowAll, clock_, [&](const Position& next, int a, int b) {
    return Search(next, depth - 1, a, b, false);
  });
  if (clock_.Stopped()) return alpha;
  if (tabled) table_.Store(p, depth, alpha, beta, best.value, best.square);
  return best.value;
}

std::optional<int> MidgameSearch::ProbableCut(const Position& p, int depth, int alpha, bool passed) {
  // The deep value is about the shallow one plus the bias; sure enough beyond the spread.
  const ShallowError& error = ErrorAt(depth);
  const int margin = error.spread * kCutConfidence / 10;
  const int shallow = ShallowDepth(depth);
  const int above = alpha + 1 + margin - error.bias;
  if (above < kHighestValue && Search(p, shallow, above - 1, above, passed) >= above) return alpha + 1;
  const int below = alpha - margin - error.bias;
  if (below > -kHighestValue && Search(p, shallow, below, below + 1, passed) <= below) return alpha;
  return std::nullopt;
}

bool MidgameSearch::SearchRoot(const Position& p, int depth, bool exactAll, std::vector<RootMove>& moves) {
  std::vector<RootMove> searched = moves;
  int alpha = kBelowAll;
  std::size_t best = 0;
  for (std::size_t i = 0; i < searched.size(); ++i) {
    RootMove& move = searched[i];
    const Position next = p.Play(move.square, move.flips);
    if (i == 0 || exactAll) {
      move.value = -Search(next, depth - 1, kBelowAll, kAboveAll, false);
    } else {
      move.value = -Search(next, depth - 1, -alpha - 1, -alpha, false);
      if (move.value > alpha) move.value = -Search(next, depth - 1, kBelowAll, -alpha, false);
    }
    if (clock_.Stopped()) {
      // A move that beat the earlier best at this depth is better even though the depth is
      // unfinished: it goes first.
      if (best != 0) std::rotate(moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(best),
                                 moves.begin() + static_cast<std::ptrdiff_t>(best) + 1);
      return false;
    }
    if (move.value > alpha) {
      alpha = move.value;
      best = i;
    }
  }
  std::stable_sort(searched.begin(), searched.end(), [](const RootMove& a, const RootMove& b) { return a.value > b.value; });
  moves = std::move(searched);
  return true;
}

}  // namespace yomi
