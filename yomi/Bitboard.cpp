#include "yomi/Bitboard.h"

namespace yomi {

namespace {

// Runs of opponent stones that start next to one of ours, grown six steps in one direction;
// `through` holds the opponent stones a run may cross without wrapping round the board.
template <int Shift>
Bits Outflanked(Bits own, Bits through) {
  auto step = [](Bits b) { return Shift > 0 ? b << Shift : b >> -Shift; };
  Bits run = through & step(own);
  run |= through & step(run);
  run |= through & step(run);
  run |= through & step(run);
  run |= through & step(run);
  run |= through & step(run);
  return step(run);
}

}  // namespace

Bits LegalMoves(Bits own, Bits opp) {
  // Sideways and diagonal runs must not cross the left or right edge.
  const Bits inner = opp & 0x7E7E7E7E7E7E7E7EULL;
  const Bits moves = Outflanked<1>(own, inner) | Outflanked<-1>(own, inner) |  //
                     Outflanked<8>(own, opp) | Outflanked<-8>(own, opp) |      //
                     Outflanked<7>(own, inner) | Outflanked<-7>(own, inner) |  //
                     Outflanked<9>(own, inner) | Outflanked<-9>(own, inner);
  return moves & ~(own | opp);
}

Position StartPosition() {
  // Side 1 moves first: (4,3) and (3,4) are its stones.
  return {Bit(Square(4, 3)) | Bit(Square(3, 4)), Bit(Square(3, 3)) | Bit(Square(4, 4))};
}

}  // namespace yomi
