#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "gamelog/GameLog.h"
#include "gamelog/GgfFormat.h"
#include "gamelog/OpponentStats.h"
#include "tests/gamelog/GameFixtures.h"
#include "tests/support/Files.h"

using namespace gamelog;

namespace {

const QString kWhole = QString::fromLatin1(TestData("two_passes.txt"));

TEST(GameLog, DamagedAndForeignFilesAreSkippedByNameAndTheRestLoadNewestFirst) {
  QTemporaryDir dir;
  const GameLog log(GameLog::FolderIn(dir.path() + "/"));
  for (const char* when : {"2026-12-01T10:00:00", "2026-12-03T10:00:00", "2026-12-02T10:00:00"})
    ASSERT_EQ(log.Save(GameOf(kWhole, "A", PlayerKind::Local, "B", PlayerKind::Net, when)), QString());
  ASSERT_TRUE(WriteFile(log.Folder() + "broken.ggf",
                        WriteGgf(GameOf(kWhole, "A", PlayerKind::Local, "B", PlayerKind::Net, "2026-12-04T10:00:00"))
                            .left(300)));
  ASSERT_TRUE(WriteFile(log.Folder() + "notes.txt", "not a game"));
  // What a save cut off by a kill leaves: a temporary, young or stale.
  ASSERT_TRUE(WriteFile(log.Folder() + "20261205-100000-abcdef.ggf.Xy12Z9", "(;GM[Oth"));
  ASSERT_TRUE(WriteFile(log.Folder() + "20261205-100000-abcdef.ggf.Ab34C7", "(;GM[Oth", 3600));

  const LoadedLog loaded = log.Load();
  ASSERT_EQ(loaded.games.size(), 3u);
  EXPECT_EQ(loaded.games[0].game.started.date().day(), 3);
  EXPECT_EQ(loaded.games[2].game.started.date().day(), 1);
  EXPECT_EQ(loaded.skipped, (QStringList{"broken.ggf", "notes.txt"}));
  EXPECT_TRUE(QFileInfo::exists(log.Folder() + "20261205-100000-abcdef.ggf.Xy12Z9"));
  EXPECT_FALSE(QFileInfo::exists(log.Folder() + "20261205-100000-abcdef.ggf.Ab34C7"));
}

int GameFiles(const GameLog& log) {
  return static_cast<int>(QDir(log.Folder()).entryList({"*.ggf"}, QDir::Files).size());
}

TEST(GameLog, AKillDuringSavesNeverCostsAnEarlierGame) {
  QTemporaryDir dir;
  const GameLog log(dir.path() + "/games");
  const GameRecord game = GameOf(kWhole, "A", PlayerKind::Local, "B", PlayerKind::Cpu, "2026-12-01T10:00:00");
  for (int round = 0; round < 5; ++round) {
    const int before = GameFiles(log);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) log.Save(game);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (GameFiles(log) < before + 3 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  const LoadedLog loaded = log.Load();
  EXPECT_GE(loaded.games.size(), 15u);
  EXPECT_TRUE(loaded.skipped.isEmpty()) << loaded.skipped.join(' ').toStdString();
  for (const LoggedGame& logged : loaded.games) EXPECT_EQ(logged.game.moves, game.moves);
}

TEST(OpponentStats, CountsThisMachinesGamesAgainstEachEngineAndNetworkName) {
  const QString wipeout = QStringLiteral("f5f6d3e3f3g5h5f4f7");  // black 13, white 0
  const QString whiteWins = QString::fromLatin1(TestData("white_wins.txt"));
  std::vector<LoggedGame> games;
  auto add = [&](const QString& moves, PlayerKind first, const QString& firstName, PlayerKind second,
                 const QString& secondName) {
    const GameRecord game = GameOf(moves, firstName, first, secondName, second, "2026-12-01T10:00:00");
    games.push_back({"", game, game.Final()});
  };
  add(wipeout, PlayerKind::Local, "me", PlayerKind::Cpu, "ヨザクラ");
  add(wipeout, PlayerKind::Cpu, "ヨザクラ", PlayerKind::Local, "me");
  add(kWhole, PlayerKind::Local, "me", PlayerKind::Cpu, "ヨザクラ");
  add(kWhole.left(20), PlayerKind::Local, "me", PlayerKind::Cpu, "ヨザクラ");  // left
  add(whiteWins, PlayerKind::Net, "Bea", PlayerKind::Local, "me");
  add(kWhole, PlayerKind::Net, "Bea", PlayerKind::Net, "Cid");  // watched
  add(kWhole, PlayerKind::Local, "me", PlayerKind::Local, "you");
  add(kWhole, PlayerKind::Cpu, "ルリカ", PlayerKind::Cpu, "ヨザクラ");
  const std::vector<OpponentStats> stats = CountOpponents(games);
  ASSERT_EQ(stats.size(), 2u);
  EXPECT_EQ(stats[0].name, QStringLiteral("ヨザクラ"));
  EXPECT_EQ(stats[0].kind, PlayerKind::Cpu);
  EXPECT_EQ(std::vector<int>({stats[0].games, stats[0].wins, stats[0].losses, stats[0].draws}),
            std::vector<int>({4, 1, 1, 1}));
  EXPECT_EQ(stats[1].name, QStringLiteral("Bea"));
  EXPECT_EQ(std::vector<int>({stats[1].games, stats[1].wins, stats[1].losses, stats[1].draws}),
            std::vector<int>({1, 1, 0, 0}));
}

}  // namespace
