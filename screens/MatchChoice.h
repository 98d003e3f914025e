#pragma once
#include <QString>
#include <string>
#include <vector>

#include "enginehost/CpuDiscovery.h"
#include "game/Rev.h"

// What the match menu decided: who plays each side of the next game. The game screen sets the
// game up from it.
struct MatchSide {
  PlayerKind kind = PlayerKind::Local;
  QString name;             // shown in the side's panel
  std::string libraryPath;  // Cpu: the engine's library
  int userRow = -1;         // Net: the chosen user's place in the room's table
};

struct MatchChoice {
  MatchSide sides[2];               // side 1, side 2
  std::vector<FoundEngine> engines;  // every engine the menu listed, in its order
  const MatchSide& Side(int side) const { return sides[side == 2 ? 1 : 0]; }
};
