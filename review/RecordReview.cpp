#include "review/RecordReview.h"

namespace review {

GameStart StartOf(const gamelog::Position& position) {
  GameStart start{0, 0, position.sideToMove};
  for (int square = 0; square < 64; ++square) {
    if (position.cells[static_cast<std::size_t>(square)] == 1) start.black |= std::uint64_t{1} << square;
    if (position.cells[static_cast<std::size_t>(square)] == 2) start.white |= std::uint64_t{1} << square;
  }
  return start;
}

std::vector<PlayedMove> MovesOf(const std::vector<gamelog::Move>& moves) {
  std::vector<PlayedMove> played;
  played.reserve(moves.size());
  for (const gamelog::Move& move : moves) played.push_back({move.side, move.IsPass() ? kPass : move.y * 8 + move.x});
  return played;
}

std::vector<Verdict> AnalyseRecord(const gamelog::Position& start, const std::vector<gamelog::Move>& moves,
                                   const AnalysisOptions& options, const std::function<bool(const Verdict&)>& found) {
  return AnalyseGame(StartOf(start), MovesOf(moves), options, found);
}

}  // namespace review
