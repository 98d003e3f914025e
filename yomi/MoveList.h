#pragma once
// The legal moves of one node with their flips, to be sorted by a score before searching.
#include "yomi/Bitboard.h"
#include "yomi/SearchClock.h"

namespace yomi {

struct ScoredMove {
  int square = 0;
  Bits flips = 0;
  int score = 0;  // lower is searched first
};

class MoveList {
 public:
  MoveList(const Position& p, Bits moves) {
    for (; moves; moves &= moves - 1) {
      const int square = FirstSquare(moves);
      moves_[size_++] = {square, Flips(p.own, p.opp, square), 0};
    }
  }

  int size() const { return size_; }
  ScoredMove* begin() { return moves_; }
  ScoredMove* end() { return moves_ + size_; }
  const ScoredMove& operator[](int i) const { return moves_[i]; }

  // Insertion sort: the lists are short, it needs no memory, and equal scores keep the board
  // order, so searches repeat exactly.
  void Sort() {
    for (int i = 1; i < size_; ++i) {
      const ScoredMove move = moves_[i];
      int j = i;
      for (; j > 0 && moves_[j - 1].score > move.score; --j) moves_[j] = moves_[j - 1];
      moves_[j] = move;
    }
  }

 private:
  ScoredMove moves_[kCells];  // a board handed in need not come from a real game
  int size_ = 0;
};

// Fastest first: the replies the opponent is left with, few first, with corners ahead.
inline int ReplyCountScore(const Position& p, const ScoredMove& move) {
  const Position next = p.Play(move.square, move.flips);
  return Count(LegalMoves(next.own, next.opp)) * 16 - ((Bit(move.square) & kCorners) ? 8 : 0);
}

struct Searched {
  int value;   // fail-soft
  int square;  // of the best move, or kNoSquare
};

// Principal variation search over the moves in their order: the first with the whole window,
// each later one with a null window first and again with the whole window only when it beats
// the best so far. child(next, alpha, beta) is the value of a child from its own mover's side.
// Returns early, with what it has, once the clock stopped the search.
template <class Child>
Searched SearchInOrder(const Position& p, const MoveList& moves, int alpha, int beta, int belowAll,
                       const SearchClock& clock, Child child) {
  Searched best{belowAll, kNoSquare};
  for (int i = 0; i < moves.size(); ++i) {
    const Position next = p.Play(moves[i].square, moves[i].flips);
    int value;
    if (i == 0) {
      value = -child(next, -beta, -alpha);
    } else {
      value = -child(next, -alpha - 1, -alpha);
      if (value > alpha && value < beta) value = -child(next, -beta, -alpha);
    }
    if (clock.Stopped()) return best;
    if (value > best.value) {
      best = {value, moves[i].square};
      if (value > alpha) alpha = value;
      if (alpha >= beta) break;
    }
  }
  return best;
}

}  // namespace yomi
