#pragma once
// The legal moves of one node with their flips, to be sorted by a score before searching.
#include <algorithm>

#include "yomi/Bitboard.h"

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

  // Stable, so equal scores keep the board order and searches repeat exactly.
  void Sort() {
    std::stable_sort(begin(), end(), [](const ScoredMove& a, const ScoredMove& b) { return a.score < b.score; });
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

}  // namespace yomi
