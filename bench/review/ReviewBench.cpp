// The review of a whole game as the record window asks for it: a 60-move game between two of
// the program's engines, all of it and its last 20 moves alone (all exact). One run per
// repetition; read the medians.
#include <benchmark/benchmark.h>

#include <QFile>

#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"
#include "review/RecordReview.h"

namespace {

struct Game {
  gamelog::Position start = gamelog::Position::Standard();
  std::vector<gamelog::Move> moves;
};

// The game's moves after the first `skip`, from the position those lead to.
Game Played(int skip) {
  QFile file(QStringLiteral(VELM_REVIEW_BENCH_GAME));
  file.open(QIODevice::ReadOnly);
  const auto moves = gamelog::ParseTranscript(QString::fromLatin1(file.readAll().trimmed())).value_or(std::vector<gamelog::Move>{});
  gamelog::Replay replay(gamelog::Position::Standard());
  Game game;
  for (std::size_t i = 0; i < moves.size(); ++i) {
    if (static_cast<int>(i) < skip)
      replay.Play(moves[i]);
    else
      game.moves.push_back(moves[i]);
  }
  game.start = replay.Current();
  return game;
}

void WholeGame(benchmark::State& state) {
  const Game game = Played(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(review::AnalyseRecord(game.start, game.moves, {}));
  state.counters["moves"] = static_cast<double>(game.moves.size());
}
BENCHMARK(WholeGame)->Arg(0)->Iterations(1)->Repetitions(3)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(WholeGame)->Arg(40)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
