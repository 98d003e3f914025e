#include "yomi/EndgameSolver.h"

#include <algorithm>
#include <array>
#include <limits>

#include "yomi/Evaluator.h"
#include "yomi/MoveList.h"
#include "yomi/Stability.h"

namespace yomi {

namespace {

// Below this many empties the moves are tried in board order (odd regions first): sorting
// costs more than it saves there.
constexpr int kUnsortedBelow = 7;
// From this many empties on, positions go through the table.
constexpr int kTableFrom = 9;
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

// Each cell's neighbours: a placement can only turn stones if one of them is the opponent's.
constexpr std::array<Bits, kCells> MakeNeighbours() {
  std::array<Bits, kCells> near{};
  for (int square = 0; square < kCells; ++square)
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = square % 8 + dx;
        const int y = square / 8 + dy;
        if ((dx || dy) && x >= 0 && x < 8 && y >= 0 && y < 8) near[square] |= Bit(Square(x, y));
      }
  return near;
}
constexpr auto kNeighbours = MakeNeighbours();

int LastEmpty(const Position& p, int square) {
  const int difference = p.Difference();
  if (const Bits flips = Flips(p.own, p.opp, square)) return difference + 1 + 2 * Count(flips);
  if (const Bits flips = Flips(p.opp, p.own, square)) return difference - 1 - 2 * Count(flips);
  return difference;
}

}  // namespace

void EndgameSolver::Order(const Position& p, int hint, MoveList& moves) const {
  for (ScoredMove& move : moves) {
    if (move.square == hint) {
      move.score = std::numeric_limits<int>::min();
      continue;
    }
    const Position next = p.Play(move.square, move.flips);
    // Fastest first: few replies, fewer corners among them, little room next to our stones.
    const Bits replies = LegalMoves(next.own, next.opp);
    move.score = Count(replies) * 16 + Count(replies & kCorners) * 16 + Count(EmptyNeighbours(next.opp, next.Empty())) * 2 -
                 ((Bit(move.square) & kCorners) ? 16 : 0);
  }
  moves.Sort();
}

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
  const Bits odd = empties > 3 ? OddQuarters(empty) : empty;  // too few empties for parity to tell
  for (Bits group : {empty & odd, empty & ~odd})
    for (; group; group &= group - 1) {
      const int square = FirstSquare(group);
      if (!(p.opp & kNeighbours[square])) continue;
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
  // The opponent's stable stones cap our result; when even the cap fails the window, stop here.
  if (alpha >= 64 - 2 * Count(p.opp)) {
    const int cap = 64 - 2 * Count(StableStones(p.opp, p.own | p.opp));
    if (cap <= alpha) return cap;
  }

  int hint = kNoSquare;
  const bool tabled = empties >= kTableFrom;
  if (tabled) {
    if (const TableEntry* entry = table_.Find(p)) {
      hint = entry->move;
      if (const auto settled = Settle(*entry, alpha, beta)) return *settled;
    }
  }

  MoveList moves(p, legal);
  Order(p, hint, moves);
  const Searched best = SearchInOrder(p, moves, alpha, beta, kBelowAll, clock_, [&](const Position& next, int a, int b) {
    return Sorted(next, empties - 1, a, b, false);
  });
  if (clock_.Stopped()) return alpha;
  if (tabled) table_.Store(p, empties, alpha, beta, best.value, best.square);
  return best.value;
}

std::vector<int> EndgameSolver::SolvingOrder(const Position& p) const {
  MoveList moves(p, LegalMoves(p.own, p.opp));
  Order(p, table_.MoveHint(p), moves);
  std::vector<int> order;
  for (const ScoredMove& move : moves) order.push_back(move.square);
  return order;
}

std::optional<SolvedMove> EndgameSolver::BestMove(const Position& p, std::vector<int> order) {
  if (order.empty()) order = SolvingOrder(p);
  if (order.empty()) return std::nullopt;
  SolvedMove best{kNoSquare, kBelowAll};
  for (const int square : order) {
    const Position next = p.Play(square, Flips(p.own, p.opp, square));
    int value;
    if (best.square == kNoSquare) {
      value = -Solve(next, -65, 65);
    } else {
      // Only a better move matters: prove it with a null window first.
      value = -Solve(next, -best.value - 1, -best.value);
      if (value > best.value) value = -Solve(next, -65, -best.value);
    }
    if (clock_.Stopped()) return std::nullopt;
    if (value > best.value) best = {square, value};
  }
  return best;
}

std::optional<SolvedMove> EndgameSolver::WinningMove(const Position& p, const std::vector<int>& order) {
  if (order.empty()) return std::nullopt;
  std::optional<SolvedMove> drawing;
  for (const int square : order) {
    const int value = -Solve(p.Play(square, Flips(p.own, p.opp, square)), -1, 1);
    if (clock_.Stopped()) return std::nullopt;
    if (value > 0) return SolvedMove{square, 1};
    if (value == 0 && !drawing) drawing = SolvedMove{square, 0};
  }
  return drawing ? *drawing : SolvedMove{order.front(), -1};
}

}  // namespace yomi
