#include "gamelog/OpponentStats.h"

#include <algorithm>

namespace gamelog {

std::vector<OpponentStats> CountOpponents(const std::vector<LoggedGame>& games) {
  std::vector<OpponentStats> stats;
  for (const LoggedGame& logged : games) {
    const GameRecord& game = logged.game;
    const bool firstLocal = game.first.kind == PlayerKind::Local;
    const bool secondLocal = game.second.kind == PlayerKind::Local;
    if (firstLocal == secondLocal) continue;
    const Player& opponent = firstLocal ? game.second : game.first;
    if (opponent.kind != PlayerKind::Cpu && opponent.kind != PlayerKind::Net) continue;

    auto row = std::find_if(stats.begin(), stats.end(), [&](const OpponentStats& s) {
      return s.kind == opponent.kind && s.name == opponent.name;
    });
    if (row == stats.end()) row = stats.insert(stats.end(), OpponentStats{opponent.name, opponent.kind});
    ++row->games;
    if (!game.finished) continue;
    const Position& end = logged.end;
    const int mine = end.Count(firstLocal ? 1 : 2);
    const int theirs = end.Count(firstLocal ? 2 : 1);
    if (mine > theirs) ++row->wins;
    else if (mine < theirs) ++row->losses;
    else ++row->draws;
  }
  std::stable_sort(stats.begin(), stats.end(), [](const OpponentStats& a, const OpponentStats& b) {
    return a.games != b.games ? a.games > b.games : a.name < b.name;
  });
  return stats;
}

}  // namespace gamelog
