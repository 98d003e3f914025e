#pragma once
// The three characters Yomi plays as, weakest first: who they are and how hard they think.
namespace yomi {

enum class Judgement { Basic, Patterns };

struct Level {
  const char* name;     // display name in code page 932, at most 20 bytes
  const char* picture;  // the picture file beside the library
  Judgement judgement;
  int maxDepth;       // moves looked ahead in the middle game
  bool probableCuts;  // prune where a shallow search is sure enough (see MidgameSearch)
  int solveFrom;      // empties from which the end is solved exactly
  int winLossFrom;    // empties from which the solver proves win, draw or loss (at least solveFrom)
  int moveMillis;     // a middle-game move: no new depth is begun past half of this, and the
                      // search stops at twice this
  int solveMillis;    // a solve is given up this long after the move began
  int noise;          // root values are spread by up to this (1/128 stone) before choosing
  int tableBits;      // each search table has 2^tableBits entries
};

constexpr int kLevelCount = 3;
const Level& LevelAt(int index);

}  // namespace yomi
