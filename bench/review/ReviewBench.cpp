// The review of a whole game as the record window asks for it: a 60-move game between two of
// the program's engines, all of it and its last 20 moves alone (all exact). One run per
// repetition; read the medians.
#include <benchmark/benchmark.h>

#include <QFile>

#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"
#include "review/GameAnalysis.h"

namespace {

struct Game {
  review::GameStart start;
  std::vector<review::PlayedMove> moves;
};

Game Played(int skip) {
  QFile file(QStringLiteral(VELM_REVIEW_BENCH_GAME));
  file.open(QIODevice::ReadOnly);
  const auto moves = gamelog::ParseTranscript(QString::fromLatin1(file.readAll().trimmed())).value_or(std::vector<gamelog::Move>{});
  Game game;
  std::uint64_t black = game.start.black;
  std::uint64_t white = game.start.white;
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const review::PlayedMove move{moves[i].side, moves[i].IsPass() ? review::kPass : moves[i].y * 8 + moves[i].x};
    if (static_cast<int>(i) >= skip) {
      game.moves.push_back(move);
      continue;
    }
    // The start of the tail: the position the skipped moves lead to.
    gamelog::Replay replay(gamelog::Position::Standard());
    for (std::size_t j = 0; j <= i; ++j) replay.Play(moves[j]);
    black = white = 0;
    const gamelog::Position p = replay.Current();
    for (int square = 0; square < 64; ++square) {
      if (p.cells[static_cast<std::size_t>(square)] == 1) black |= std::uint64_t{1} << square;
      if (p.cells[static_cast<std::size_t>(square)] == 2) white |= std::uint64_t{1} << square;
    }
    game.start = {black, white, p.sideToMove};
  }
  return game;
}

void WholeGame(benchmark::State& state) {
  const Game game = Played(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(review::AnalyseGame(game.start, game.moves, {}));
  state.counters["moves"] = static_cast<double>(game.moves.size());
}
BENCHMARK(WholeGame)->Arg(0)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WholeGame)->Arg(40)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
