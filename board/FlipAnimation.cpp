#include "board/FlipAnimation.h"

#include <algorithm>
#include <cstdlib>

void FlipAnimation::Start(const _Rev& stone, const std::vector<_Rev>& flipped) {
  flips_.clear();
  for (const _Rev& f : flipped) {
    const int distance = std::max(std::abs(f.x - stone.x), std::abs(f.y - stone.y));
    const int delay = std::min(kTotalMs - kTurnMs, (distance - 1) * kStepMs);
    flips_.push_back({{QPoint(f.x, f.y), f.value == 1 ? 2 : 1, f.value, 0}, delay});
  }
}

std::vector<BoardScene::Turning> FlipAnimation::At(int elapsedMs) const {
  std::vector<BoardScene::Turning> turning;
  for (const Flip& f : flips_) {
    const int into = elapsedMs - f.delayMs;
    if (into >= kTurnMs) continue;
    BoardScene::Turning t = f.turning;
    t.progress = std::max(0, into) / static_cast<double>(kTurnMs);
    turning.push_back(t);
  }
  return turning;
}
