// The record window opened over a game log of 10,000 games: reading every file, the list, the
// results per opponent, and the window on screen. One opening per iteration, cold in the
// program (the files are in the system's cache after the first).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "gamelog/GameLog.h"
#include "gamelog/Transcript.h"
#include "screens/GameListModel.h"
#include "screens/Kifu.h"

namespace {

constexpr int kGames = 10000;

// Whole games of 60 moves and short ones, between this machine and several opponents.
const gamelog::GameLog& TheLog() {
  static QTemporaryDir dir;
  // VELM_KIFU_LOG: a folder to keep the log in between runs (made on the first), for profiling
  // the opening alone.
  static const QString folder = qEnvironmentVariableIsSet("VELM_KIFU_LOG") ? qEnvironmentVariable("VELM_KIFU_LOG")
                                                                            : dir.path() + QStringLiteral("/games");
  static const gamelog::GameLog log = [] {
    gamelog::GameLog made(folder);
    if (QDir(folder).count() > 2) return made;
    const QString transcripts[] = {
        QStringLiteral("d3c5d6e3f4c3f3e6f5c4f6g3e2g4f2g5c6d2g6f7h3e1h5d7e7f8b6f1c7h6d8b5a4a5a6b8h4h2c1d1c8e8g1a7a8b7"
                       "c2g7g8h7h8b1a1g2h1b2b3a3a2b4"),
        QStringLiteral("f5f6d3e3f3g5h5f4f7"),
        QStringLiteral("f5d6c3d3c4f4f6f3e6e7d7g6g5c5c6c7b6h5h6e3f7h4h3g4")};
    const QString opponents[] = {QStringLiteral("ルリカ"), QStringLiteral("ツボミ"), QStringLiteral("ウララ"),
                                 QStringLiteral("ヨザクラ"), QStringLiteral("Bea")};
    for (int i = 0; i < kGames; ++i) {
      gamelog::GameRecord game;
      game.started = QDateTime::fromSecsSinceEpoch(1765000000 + i * 600LL, Qt::UTC);
      game.first = {QStringLiteral("taro"), PlayerKind::Local};
      game.second = {opponents[i % 5], i % 5 == 4 ? PlayerKind::Net : PlayerKind::Cpu};
      game.moves = *gamelog::ParseTranscript(transcripts[i % 3]);
      game.finished = i % 3 != 2;
      made.Save(game);
    }
    return made;
  }();
  return log;
}

void OpenWith10000Games(benchmark::State& state) {
  const gamelog::GameLog& log = TheLog();
  for (auto _ : state) {
    TfrmKifu window(log, QString(), platform::Dialogs{});
    window.ShowLog();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.List()->rowCount());
  }
}
BENCHMARK(OpenWith10000Games)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->UseRealTime();

}  // namespace

namespace {
void LoadOnly(benchmark::State& state) {
  const gamelog::GameLog& log = TheLog();
  for (auto _ : state) benchmark::DoNotOptimize(log.Load().games.size());
}
BENCHMARK(LoadOnly)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
}  // namespace
