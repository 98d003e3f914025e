#include "yomi/Thinker.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

#include "yomi/BasicEvaluator.h"
#include "yomi/EndgameSolver.h"
#include "yomi/MidgameSearch.h"
#include "yomi/PatternEvaluator.h"

namespace yomi {

namespace {

using Millis = std::chrono::duration<double, std::milli>;

SearchClock::Clock::duration Budget(int millis, double scale) {
  return std::chrono::duration_cast<SearchClock::Clock::duration>(Millis(millis * std::clamp(scale, 0.0, 1.0)));
}

std::unique_ptr<Evaluator> MakeEvaluator(Judgement judgement, const std::int16_t* weights) {
  if (judgement == Judgement::Patterns && weights) return std::make_unique<PatternEvaluator>(weights);
  return std::make_unique<BasicEvaluator>();
}

// Deepens until the level's depth, the end of the game or the budget; the moves stay sorted by
// the deepest search that finished.
void Deepen(const Position& p, const Level& level, const ThinkOptions& options, SearchClock::Clock::duration budget,
            SearchClock& clock, std::vector<RootMove>& moves) {
  const auto evaluator = MakeEvaluator(level.judgement, options.weights);
  const bool exactAll = level.noise > 0;
  TranspositionTable table(level.tableBits);
  MidgameSearch search(*evaluator, table, clock, level.probableCuts);
  clock.LimitTo(clock.Elapsed() + budget * 2);
  const int deepest = std::min(level.maxDepth, p.Empties());
  for (int depth = 1; depth <= deepest; ++depth) {
    if (!search.SearchRoot(p, depth, exactAll, moves)) break;
    if (clock.Elapsed() > budget / 2) break;
  }
}

int Noisy(const std::vector<RootMove>& moves, int noise, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> spread(0, noise);
  int best = moves.front().square;
  int bestValue = moves.front().value + spread(rng);
  for (std::size_t i = 1; i < moves.size(); ++i) {
    const int value = moves[i].value + spread(rng);
    if (value > bestValue) {
      best = moves[i].square;
      bestValue = value;
    }
  }
  return best;
}

}  // namespace

int ChooseSquare(const Position& p, const Level& level, const ThinkOptions& options) {
  std::vector<RootMove> moves = RootMoves(p);
  if (moves.empty()) return kNoSquare;
  if (moves.size() == 1) return moves.front().square;

  SearchClock clock;
  const int empties = p.Empties();
  const bool exact = empties <= level.solveFrom;
  const bool winLoss = !exact && empties <= level.winLossFrom;
  // Before an exact solve, a short look that orders the moves for it and gives one to fall
  // back on if the solve runs out of time.
  const auto midgameBudget = Budget(level.moveMillis, options.timeScale) / (exact ? 4 : 1);
  Deepen(p, level, options, midgameBudget, clock, moves);

  if (exact || winLoss) {
    std::vector<int> order;
    for (const RootMove& move : moves) order.push_back(move.square);
    clock.Resume();
    clock.LimitTo(Budget(level.solveMillis, options.timeScale));
    TranspositionTable table(level.tableBits);
    EndgameSolver solver(table, clock);
    const auto solved = exact ? solver.BestMove(p, order) : solver.WinningMove(p, order);
    if (solved) return solved->square;
  }
  return level.noise > 0 ? Noisy(moves, level.noise, options.seed) : moves.front().square;
}

}  // namespace yomi
