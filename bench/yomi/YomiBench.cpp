// Yomi's search from inside: nodes per second in the middle game, and exact solves of
// positions with 16 and 20 empties (one position per repetition, so the median aggregate is
// the median over positions).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "yomi/BasicEvaluator.h"
#include "yomi/weights/BuiltInWeights.h"
#include "yomi/EndgameSolver.h"
#include "yomi/MidgameSearch.h"
#include "yomi/PatternEvaluator.h"

namespace {

using yomi::Position;

// Positions from games of a shallow search after random openings: what a real game meets,
// the same on every run.
std::vector<Position> GamePositions(int empties, int count) {
  std::mt19937 rng(static_cast<std::uint32_t>(1000 + empties));
  const yomi::BasicEvaluator evaluator;
  yomi::SearchClock clock;
  std::vector<Position> found;
  while (static_cast<int>(found.size()) < count) {
    Position p = yomi::StartPosition();
    for (int ply = 0; p.Empties() > empties; ++ply) {
      std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
      if (moves.empty()) {
        p = p.Pass();
        if (yomi::RootMoves(p).empty()) break;
        continue;
      }
      if (ply < 10) {
        const auto& move = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
        p = p.Play(move.square, move.flips);
        continue;
      }
      yomi::TranspositionTable table(12);
      yomi::MidgameSearch search(evaluator, table, clock, false);
      search.SearchRoot(p, 3, false, moves);
      p = p.Play(moves.front().square, moves.front().flips);
    }
    if (p.Empties() == empties && !yomi::RootMoves(p).empty()) found.push_back(p);
  }
  return found;
}

void Solve(benchmark::State& state) {
  const int empties = static_cast<int>(state.range(0));
  static std::vector<Position> positions[64];
  static int next[64];
  if (positions[empties].empty()) positions[empties] = GamePositions(empties, 15);
  const Position p = positions[empties][next[empties]++ % positions[empties].size()];
  std::uint64_t nodes = 0;
  for (auto _ : state) {
    yomi::TranspositionTable table(19);
    yomi::SearchClock clock;
    yomi::EndgameSolver solver(table, clock);
    benchmark::DoNotOptimize(solver.BestMove(p));
    nodes += clock.Nodes();
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

// Iterative deepening to a fixed depth from middle-game positions, with either judgement.
void MidgameNodes(benchmark::State& state, bool trained) {
  const int depth = static_cast<int>(state.range(0));
  static const std::vector<Position> positions = GamePositions(36, 8);
  const yomi::BasicEvaluator basic;
  const yomi::PatternEvaluator patterns(yomi::BuiltInWeights());
  const yomi::Evaluator& evaluator = trained ? static_cast<const yomi::Evaluator&>(patterns) : basic;
  std::uint64_t nodes = 0;
  for (auto _ : state) {
    for (const Position& p : positions) {
      yomi::TranspositionTable table(19);
      yomi::SearchClock clock;
      yomi::MidgameSearch search(evaluator, table, clock, false);
      std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
      for (int d = 1; d <= depth; ++d) search.SearchRoot(p, d, false, moves);
      nodes += clock.Nodes();
    }
  }
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(Solve)->Arg(16)->Iterations(1)->Repetitions(15)->Unit(benchmark::kMillisecond);
BENCHMARK(Solve)->Arg(20)->Iterations(1)->Repetitions(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MidgameNodes, basic, false)->Arg(8)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MidgameNodes, trained, true)->Arg(10)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
