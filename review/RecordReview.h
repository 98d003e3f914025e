#pragma once
// The review of a game as the game log records it: its start and moves handed to the review.
#include <vector>

#include "gamelog/GameRecord.h"
#include "review/GameAnalysis.h"

namespace review {

GameStart StartOf(const gamelog::Position& position);
std::vector<PlayedMove> MovesOf(const std::vector<gamelog::Move>& moves);

// Every move of the game from its own start (see AnalyseGame).
std::vector<Verdict> AnalyseRecord(const gamelog::Position& start, const std::vector<gamelog::Move>& moves,
                                   const AnalysisOptions& options, const std::function<bool(const Verdict&)>& found = {});

}  // namespace review
