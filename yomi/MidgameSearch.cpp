#include "yomi/MidgameSearch.h"

#include <algorithm>

#include "yomi/MoveList.h"

namespace yomi {

namespace {

constexpr int kBelowAll = -kHighestValue - 1;
constexpr int kAboveAll = kHighestValue + 1;
// From this depth on, moves are ordered by the evaluation of the position they lead to.
constexpr int kEvaluatedOrderFrom = 3;

int FinalValue(const Position& p) { return p.Difference() * kStoneValue; }

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
  const Bits legal = LegalMoves(p.own, p.opp);
  if (!legal) {
    if (passed || !LegalMoves(p.opp, p.own)) return FinalValue(p);
    return -Search(p.Pass(), depth, -beta, -alpha, true);
  }
  if (depth == 0) return evaluator_.Evaluate(p);

  int hint = kNoSquare;
  if (const TableEntry* entry = table_.Find(p)) {
    hint = entry->move;
    if (entry->depth >= depth) {
      if (entry->lower >= beta) return entry->lower;
      if (entry->upper <= alpha) return entry->upper;
      if (entry->lower == entry->upper) return entry->lower;
      alpha = std::max<int>(alpha, entry->lower);
      beta = std::min<int>(beta, entry->upper);
    }
  }

  MoveList moves(p, legal);
  Order(p, depth, hint, moves);
  const int firstAlpha = alpha;
  int best = kBelowAll;
  int bestSquare = kNoSquare;
  for (int i = 0; i < moves.size(); ++i) {
    const Position next = p.Play(moves[i].square, moves[i].flips);
    int value;
    if (i == 0) {
      value = -Search(next, depth - 1, -beta, -alpha, false);
    } else {
      value = -Search(next, depth - 1, -alpha - 1, -alpha, false);
      if (value > alpha && value < beta) value = -Search(next, depth - 1, -beta, -alpha, false);
    }
    if (clock_.Stopped()) return firstAlpha;
    if (value > best) {
      best = value;
      bestSquare = moves[i].square;
      if (best > alpha) alpha = best;
      if (alpha >= beta) break;
    }
  }
  table_.Store(p, depth, firstAlpha, beta, best, bestSquare);
  return best;
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
