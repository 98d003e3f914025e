#pragma once
// The statistics window's texts, kept apart from the window so they can be checked without one.
#include <QString>

#include <array>
#include <cstdint>

// A count as decimal text, and a share of games won as "%1.3f" ("---" while there are no
// games). A draw counts as a game, so it lowers the share.
QString ShareText(std::int32_t wins, std::int32_t games);

// The eight value texts of the window, from the six counters in reply order (total games,
// wins, losses, network games, wins, losses).
struct StatisticsTexts {
  QString SouNum, SouWin, SouLose, SouRitsu;
  QString Num, Win, Lose, Ritsu;
};
StatisticsTexts FillStatistics(const std::array<std::int32_t, 6>& counters);
