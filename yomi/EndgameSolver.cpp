#include "yomi/EndgameSolver.h"

#include <algorithm>

#include "yomi/MoveList.h"

namespace yomi {

namespace {

// Below this many empties the moves are tried in board order (odd regions first): sorting
// costs more than it saves there.
constexpr int kUnsortedBelow = 7;
// From this many empties on, positions go through the table.
constexpr int kTableFrom = 10;
constexpr int kBelowAll = -65;

// Playing into a quarter with an odd number of empties tends to leave us the last move there.
Bits OddQuarters(Bits empty) {
  constexpr Bits kQuarters[4] = {0x000000000F0F0F0FULL, 0x00000000F0F0F0F0ULL, 0x0F0F0F0F00000000ULL,
                                 0xF0F0F0F000000000ULL};
  Bits odd = 0;
  for (Bits quarter : kQuarters)
    if (Count(empty & quarter) & 1) odd |= quarter;
  return odd;
}

int LastEmpty(const Position& p, int square) {
  const int difference = p.Difference();
  if (const Bits flips = Flips(p.own, p.opp, square)) return difference + 1 + 2 * Count(flips);
  if (const Bits flips = Flips(p.opp, p.own, square)) return difference - 1 - 2 * Count(flips);
  return difference;
}

void OrderForSolving(const Position& p, int hint, MoveList& moves) {
  for (ScoredMove& move : moves) move.score = move.square == hint ? -1000 : ReplyCountScore(p, move);
  moves.Sort();
}

}  // namespace

int EndgameSolver::Solve(const Position& p, int alpha, int beta) {
  const int empties = p.Empties();
  if (empties < kUnsortedBelow) return Unsorted(p, p.Empty(), empties, alpha, beta, false);
  return Sorted(p, empties, alpha, beta, false);
}

int EndgameSolver::AfterPass(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed) {
  if (passed) return p.Difference();  // neither side can move: the game is over
  if (empties < kUnsortedBelow) return -Unsorted(p.Pass(), empty, empties, -beta, -alpha, true);
  return -Sorted(p.Pass(), empties, -beta, -alpha, true);
}

int EndgameSolver::Unsorted(const Position& p, Bits empty, int empties, int alpha, int beta, bool passed) {
  if (clock_.Tick()) return alpha;
  if (empties == 1) return LastEmpty(p, FirstSquare(empty));
  int best = kBelowAll;
  const Bits odd = OddQuarters(empty);
  for (Bits group : {empty & odd, empty & ~odd})
    for (; group; group &= group - 1) {
      const int square = FirstSquare(group);
      const Bits flips = Flips(p.own, p.opp, square);
      if (!flips) continue;
      const int value =
          -Unsorted(p.Play(square, flips), empty ^ Bit(square), empties - 1, -beta, -std::max(alpha, best), false);
      if (value > best) {
        best = value;
        if (best >= beta) return best;
      }
    }
  if (best != kBelowAll) return best;
  return AfterPass(p, empty, empties, alpha, beta, passed);
}

int EndgameSolver::Sorted(const Position& p, int empties, int alpha, int beta, bool passed) {
  if (empties < kUnsortedBelow) return Unsorted(p, p.Empty(), empties, alpha, beta, passed);
  if (clock_.Tick()) return alpha;
  const Bits legal = LegalMoves(p.own, p.opp);
  if (!legal) return AfterPass(p, p.Empty(), empties, alpha, beta, passed);

  int hint = kNoSquare;
  const bool tabled = empties >= kTableFrom;
  if (tabled) {
    if (const TableEntry* entry = table_.Find(p)) {
      hint = entry->move;
      if (entry->lower >= beta) return entry->lower;
      if (entry->upper <= alpha) return entry->upper;
      if (entry->lower == entry->upper) return entry->lower;
      alpha = std::max<int>(alpha, entry->lower);
      beta = std::min<int>(beta, entry->upper);
    }
  }

  MoveList moves(p, legal);
  OrderForSolving(p, hint, moves);
  const int firstAlpha = alpha;
  int best = kBelowAll;
  int bestSquare = kNoSquare;
  for (int i = 0; i < moves.size(); ++i) {
    const Position next = p.Play(moves[i].square, moves[i].flips);
    int value;
    if (i == 0) {
      value = -Sorted(next, empties - 1, -beta, -alpha, false);
    } else {
      value = -Sorted(next, empties - 1, -alpha - 1, -alpha, false);
      if (value > alpha && value < beta) value = -Sorted(next, empties - 1, -beta, -alpha, false);
    }
    if (clock_.Stopped()) return firstAlpha;
    if (value > best) {
      best = value;
      bestSquare = moves[i].square;
      if (best > alpha) alpha = best;
      if (alpha >= beta) break;
    }
  }
  if (tabled) table_.Store(p, empties, firstAlpha, beta, best, bestSquare);
  return best;
}

std::optional<SolvedMove> EndgameSolver::BestMove(const Position& p) {
  const Bits legal = LegalMoves(p.own, p.opp);
  if (!legal) return std::nullopt;
  MoveList moves(p, legal);
  OrderForSolving(p, table_.MoveHint(p), moves);
  SolvedMove best{kNoSquare, kBelowAll};
  for (int i = 0; i < moves.size(); ++i) {
    const Position next = p.Play(moves[i].square, moves[i].flips);
    int value;
    if (i == 0) {
      value = -Solve(next, -64, 64);
    } else {
      // Only a better move matters: prove it with a null window first.
      value = -Solve(next, -best.value - 1, -best.value);
      if (value > best.value) value = -Solve(next, -64, -best.value);
    }
    if (clock_.Stopped()) return std::nullopt;
    if (value > best.value) best = {moves[i].square, value};
  }
  return best;
}

}  // namespace yomi
