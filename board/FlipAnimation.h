#pragma once
#include <vector>

#include "board/BoardPainter.h"
#include "game/Rev.h"

// The stones one move turned, turning over outward from the placed stone: each takes kTurnMs,
// those further along their line start a little later, and all are done within kTotalMs.
// Only painting: the game has changed already.
class FlipAnimation {
 public:
  static constexpr int kTurnMs = 200;
  static constexpr int kStepMs = 30;
  static constexpr int kTotalMs = 300;

  void Start(const _Rev& stone, const std::vector<_Rev>& flipped);
  void Stop() { flips_.clear(); }
  bool Running(int elapsedMs) const { return !flips_.empty() && elapsedMs < kTotalMs; }
  // The stones still turning after elapsedMs.
  std::vector<BoardScene::Turning> At(int elapsedMs) const;

 private:
  struct Flip {
    BoardScene::Turning turning;
    int delayMs;
  };
  std::vector<Flip> flips_;
};
