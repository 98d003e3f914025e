#pragma once
#include <QString>

#include <vector>

#include "gamelog/GameLog.h"

namespace gamelog {

// How this machine's player fared against one opponent.
struct OpponentStats {
  QString name;
  PlayerKind kind = PlayerKind::None;  // Cpu or Net
  int games = 0;  // every game begun against it, left ones too
  int wins = 0;
  int losses = 0;
  int draws = 0;
};

// Counted from the logged games in which the player at this machine (a local side) met an engine
// or a network player; games watched, games of two local sides and games of two engines do not
// count. A game left before its end counts as played, with no result. Opponents in order of
// most games first, then by name.
std::vector<OpponentStats> CountOpponents(const std::vector<LoggedGame>& games);

}  // namespace gamelog
