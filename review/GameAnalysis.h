#pragma once
// The review of a whole game: for every move, what it was worth and what the best move was,
// judged by Yomi's search (an estimate in the middle game) and its exact solver near the end.
// Plain C++ over the engine's search; no Qt.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace review {

inline constexpr int kPass = -1;

struct GameStart {
  std::uint64_t black = 0x0000000810000000ULL;  // bit y * 8 + x; the standard start: e4, d5
  std::uint64_t white = 0x0000001008000000ULL;  // d4, e5
  int sideToMove = 1;                           // 1 black (先行), 2 white (後攻)
};

struct PlayedMove {
  int side = 1;
  int square = kPass;  // y * 8 + x, or kPass
};

// Values are final disc differences for black (先行) under best play from the position before
// the move: `value` after the move played, `bestValue` after the best one.
struct Verdict {
  int number = 0;  // 1 for the game's first move
  int side = 1;
  int move = kPass;
  int value = 0;
  int best = kPass;
  int bestValue = 0;
  bool exact = false;  // proven by the solver, not estimated
};

struct AnalysisOptions {
  // A middle-game position gets about this long; no deeper search is begun after half of it.
  std::chrono::milliseconds perPosition{800};
  int exactFrom = 20;  // empties from which every value is exact
};

// Every move of the game from start. `found` hears each verdict as soon as it is known (the
// exact end first, from the last move back, then the rest in order) and may answer false to
// stop the review; the verdicts found by then are answered, in move order.
std::vector<Verdict> AnalyseGame(const GameStart& start, const std::vector<PlayedMove>& moves,
                                 const AnalysisOptions& options,
                                 const std::function<bool(const Verdict&)>& found = {});

}  // namespace review
