// Engine moves driving the game through the turn flow: whole games, the last move, network
// games, broken, slow and hung engines, the pause before a request, and answers to positions
// that have changed meanwhile.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <thread>

#include "board/IReversi.h"
#include "enginehost/CpuThread.h"
#include "screens/TurnFlow.h"
#include "tests/enginehost/EngineFolder.h"
#include "tests/game/BoardText.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/MessageRecorder.h"
#include "platform/Worker.h"
#include "tests/support/Wait.h"

namespace {

using namespace std::chrono_literals;

constexpr int kCpu = static_cast<int>(PlayerKind::Cpu);
constexpr int kLocal = static_cast<int>(PlayerKind::Local);
constexpr int kNet = static_cast<int>(PlayerKind::Net);
const QString kEngineName = QStringLiteral(u"ルリカ");

class EngineThread : public ::testing::Test {
 protected:
  EngineThread() {
    view.resize(360, 360);
    game.SetCounters({&games});
    flow.SetEngineRunner(BuiltRunner());
    flow.EngineName = [](int) { return kEngineName; };
  }

  // No engine move is left once a test is over: none is thinking, none is kept.
  void TearDown() override {
    EXPECT_TRUE(WaitUntil([] { return platform::Worker::Running() == 0; }));
    EXPECT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000)) << "no runner is left behind";
  }

  // Side 1 played by the engine at library, side 2 by the user; the game counted at the start.
  void EngineAgainstUser(const char* library) {
    game.NewGame();
    flow.SetCpuPath(0, library);
    game.SetWho(kCpu, kLocal);
    flow.GameShori();
  }

  static bool RunnerStarted() {
    return WaitUntil([] { return !ChildProcesses().empty(); }, 10000);
  }

  MessageRecorder boxes;
  Services services = [this] {
    Services made;
    made.dialogs = boxes.dialogs();
    return made;
  }();
  std::int32_t games = 0;
  Game game;
  TIReversi view{game};
  TurnFlow flow{game, view, services};
};

}  // namespace

TEST_F(EngineThread, EngineAgainstEngineRunsToTheResult) {
  flow.SetCpuPath(0, BuiltTekum().c_str());
  flow.SetCpuPath(1, TINY_ENGINE);
  game.SetWho(kCpu, kCpu);
  flow.GameShori();
  ASSERT_TRUE(WaitUntil([&] { return game.Over(); }, 120000)) << "the game did not end";
  EXPECT_TRUE(game.HasResult());
  ASSERT_FALSE(boxes.boxes().empty());
  EXPECT_EQ(boxes.boxes().back().caption, QStringLiteral("結果"));
  for (std::size_t i = 0; i + 1 < boxes.boxes().size(); ++i) EXPECT_EQ(boxes.boxes()[i].caption, QStringLiteral("順番"));
  EXPECT_EQ(game.KuroCount() + game.ShiroCount(), game.Board().FKomaCount);
}

TEST_F(EngineThread, MoveThatFillsTheBoardEndsTheGameWithoutSwitchingSides) {
  // Every cell is blue but (6,6), white, and (7,7), empty: blue's only move fills the board.
  LoadGame(game, {"11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111121", "1111111."});
  flow.SetCpuPath(0, BuiltTekum().c_str());
  game.SetWho(kCpu, kLocal);
  flow.GameShori();
  ASSERT_TRUE(WaitUntil([&] { return game.Over(); }, 10000));
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_EQ(game.Board().FKomaCount, 64);
  EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{
                               {QStringLiteral(u"青の勝ちです\n青：64\n白：0"), QStringLiteral(u"結果")}}));
}

TEST_F(EngineThread, NetworkGameSendsTheMoveAndLeavesTheBoardAlone) {
  game.SetNetPlay(true);
  flow.SetCpuPath(0, BuiltTekum().c_str());
  game.SetWho(kCpu, kNet);
  std::vector<_Rev> sent;
  flow.OnSendMove = [&](const _Rev& move) { sent.push_back(move); };
  const BoardPicture before = BoardRows(game);

  flow.GameShori();
  ASSERT_TRUE(WaitUntil([&] { return !sent.empty(); }, 10000));
  // The engine's worker has ended: nothing more may follow.
  ASSERT_TRUE(WaitUntil([] { return platform::Worker::Running() == 0; }));

  ASSERT_EQ(sent.size(), 1u);
  const std::set<std::pair<int, int>> legal = {{2, 3}, {3, 2}, {4, 5}, {5, 4}};
  EXPECT_TRUE(legal.count({sent[0].x, sent[0].y}));
  EXPECT_EQ(sent[0].value, 1) << "the side, not the engine's gain";
  EXPECT_EQ(BoardRows(game), before);
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_TRUE(flow.AwaitingEcho());

  // The relayed move comes back and is played like any network move.
  flow.NetGet(sent[0]);
  EXPECT_EQ(game.Board().FKomaCount, 5);
  EXPECT_EQ(game.Turn(), 2);
}

TEST_F(EngineThread, ABrokenEngineEndsTheGameWithoutAResultAndSaysWhy) {
  services.engineLimits = kShortLimits;
  const QString wrong = kEngineName + QStringLiteral("が正しい手を返しませんでした");
  const QString crashed = kEngineName + QStringLiteral("が異常終了しました");
  const QString notLoaded = kEngineName + QStringLiteral("を読み込めませんでした");
  const std::pair<const char*, QString> cases[] = {
      {TINY_OUTSIDE, wrong},         {TINY_OCCUPIED, wrong},        {TINY_ILLEGAL, wrong},
      {TINY_CRASH_IN_MOVE, crashed}, {TINY_CRASH_ON_LOAD, crashed}, {TINY_NO_MOVE, notLoaded},
      {"/nonexistent/TEKUM.DLL", notLoaded},
      {TINY_NEVER_RETURNS, kEngineName + QStringLiteral("が時間内に手を返しませんでした")},
  };
  for (const auto& [library, text] : cases) {
    SCOPED_TRACE(library);
    boxes.clear();
    games = 0;
    EngineAgainstUser(library);
    EXPECT_EQ(games, 1);
    ASSERT_TRUE(WaitUntil([&] { return !boxes.boxes().empty(); }, 30000));
    EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{{text, QStringLiteral("Velmora")}}));
    EXPECT_TRUE(game.Over()) << "a new game is open at once";
    EXPECT_FALSE(game.HasResult());
    EXPECT_EQ(games, 0) << "the game counted at its start is taken back";
    EXPECT_EQ(game.Board().FKomaCount, 4);
    EXPECT_FALSE(view.InputOpen());
  }
}

TEST_F(EngineThread, TheEngineIsAskedAfterAPauseOncePerPosition) {
  game.SetWho(kLocal, kCpu);
  flow.SetCpuPath(1, TINY_SLOW);  // three seconds for its move
  flow.GameShori();
  QElapsedTimer clock;
  clock.start();
  flow.MoveStep(_Rev{2, 3, 1});
  // The pause is a timer: the move returns at once, the board takes no input meanwhile.
  EXPECT_EQ(flow.ThinkingSide(), 0);
  EXPECT_FALSE(view.InputOpen());
  ASSERT_TRUE(WaitUntil([&] { return flow.ThinkingSide() == 2; }, 10000));
  EXPECT_GE(clock.elapsed(), 100);
  // The same turn handed out again asks no second engine.
  flow.GameShori();
  ASSERT_TRUE(RunnerStarted());
  WaitUntil([] { return false; }, 300);
  EXPECT_EQ(ChildProcesses().size(), 1u);
  flow.StopEngine();
}

TEST_F(EngineThread, ANewGameDuringThePauseOrTheThinkingDropsTheRequest) {
  flow.SetCpuPath(0, TINY_NEVER_RETURNS);  // with the real limit of a minute
  game.SetWho(kCpu, kLocal);
  flow.GameShori();
  game.NewGame();  // a board-reset record handled during the pause
  WaitUntil([] { return false; }, 300);
  EXPECT_EQ(flow.ThinkingSide(), 0) << "nothing asked about the old position";
  EXPECT_TRUE(ChildProcesses().empty());

  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "new game");
    EngineAgainstUser(TINY_NEVER_RETURNS);
    ASSERT_TRUE(RunnerStarted());
    if (close) {
      flow.StopEngine();  // as the game screen closes
      game.Stop();
    } else {
      game.NewGame();
    }
    EXPECT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000)) << "the runner was killed";
    EXPECT_TRUE(boxes.boxes().empty()) << "a move nobody waits for any more is no failure";
  }
}

TEST_F(EngineThread, TheWindowAnswersWhileASlowEngineThinks) {
  EngineAgainstUser(TINY_SLOW);  // three seconds for its move
  ASSERT_TRUE(RunnerStarted());

  // Another thread posts an event to this one every 50 ms and notes how long it waited.
  QObject receiver;
  QElapsedTimer clock;
  clock.start();
  std::vector<qint64> waits;
  std::atomic<bool> thinking{true};
  std::thread poster([&] {
    while (thinking) {
      const qint64 posted = clock.elapsed();
      QMetaObject::invokeMethod(&receiver, [&, posted] { waits.push_back(clock.elapsed() - posted); }, Qt::QueuedConnection);
      std::this_thread::sleep_for(50ms);
    }
  });
  const bool moved = WaitUntil([&] { return game.Board().FKomaCount == 5; }, 30000);
  thinking = false;
  poster.join();
  QCoreApplication::processEvents();

  ASSERT_TRUE(moved) << "the slow engine's move is played";
  EXPECT_EQ(game.Turn(), 2);
  EXPECT_TRUE(view.InputOpen()) << "the user's turn";
  ASSERT_GE(waits.size(), 10u);
  std::sort(waits.begin(), waits.end());
  EXPECT_LT(waits[waits.size() / 2], 50) << "the window thread answered while the engine thought";
  EXPECT_LT(waits.back(), 1000);
}

TEST_F(EngineThread, AnAnswerToAPositionThatHasChangedIsDropped) {
  // Asked for blue's move, but a move arrives first.
  EngineAgainstUser(TINY_SLOW);
  ASSERT_TRUE(WaitUntil([&] { return flow.ThinkingSide() == 1; }, 10000));
  flow.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(flow.ThinkingSide(), 0);
  ASSERT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000));
  EXPECT_EQ(game.Board().FKomaCount, 5);
  EXPECT_EQ(game.Turn(), 2);

  // Asked for blue's move, then the side changes hands before the answer.
  EngineAgainstUser(TINY_SLOW);
  ASSERT_TRUE(WaitUntil([&] { return flow.ThinkingSide() == 1; }, 10000));
  game.SetWho(kLocal, kCpu);
  flow.GameShori();
  ASSERT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000));
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_TRUE(view.InputOpen());
  EXPECT_TRUE(boxes.boxes().empty());
}

