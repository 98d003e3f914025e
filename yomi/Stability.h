#pragma once
// Stones that can never be turned again: walled in by the board's edges, by stable stones of
// their own colour or by filled lines, in all four line directions. A lower bound on the true
// set, cheap enough for the endgame solver to ask whether a score is still reachable.
#include "yomi/Bitboard.h"

namespace yomi {

Bits StableStones(Bits stones, Bits occupied);

}  // namespace yomi
