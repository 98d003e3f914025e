#pragma once
#include <vector>

#include "game/Rev.h"

// What a game tells those who show it. Each call comes after the game has changed, so a
// listener reads the game as it now stands; the arguments say only what is needed to show the
// change as it happened.
class GameListener {
 public:
  virtual ~GameListener() = default;
  // A stone was placed; flipped holds each turned cell with its new value, in the order they
  // turned.
  virtual void Placed(const _Rev& stone, const std::vector<_Rev>& flipped) { (void)stone, (void)flipped; }
  virtual void Passed(int side) { (void)side; }
  // The game ended: by the rules (with a result), or given up or stopped midway.
  virtual void Ended() {}
  // A new game: its position replaces the old one.
  virtual void Restarted() {}
  // Moves were taken back or played again: the position was rebuilt.
  virtual void Rewound() {}
  // The players were set.
  virtual void PlayersSet() {}
};
