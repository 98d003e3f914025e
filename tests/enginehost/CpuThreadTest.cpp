// The engine thread driving the board: whole games, the last move, network games, broken and
// slow engines, and engines stopped by a reset.
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
#include "tests/enginehost/EngineFolder.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/MessageRecorder.h"

namespace {

using namespace std::chrono_literals;

constexpr int kCpu = static_cast<int>(PlayerKind::Cpu);
constexpr int kLocal = static_cast<int>(PlayerKind::Local);
constexpr int kNet = static_cast<int>(PlayerKind::Net);
const QString kEngineName = QStringLiteral(u"ルリカ");

// Lets the main thread run handed-over work and deferred deletions until done() or the limit.
bool RunUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QThread::msleep(1);
  }
  return true;
}

std::vector<std::int32_t> Cells(const TIReversi& board) {
  std::vector<std::int32_t> cells;
  for (int x = 0; x < board.FCols; ++x)
    for (int y = 0; y < board.FRows; ++y) cells.push_back(board.FBan[x][y]);
  return cells;
}

// Counts the engine threads the board asks for and sees each one end.
struct ThreadLog {
  int created = 0;
  std::set<TCpuThin*> alive;

  void Attach(TIReversi& board) {
    board.OnEngineRequest = [this, &board] { Track(RequestEngineMove(board, BuiltRunner(), kEngineName)); };
    board.OnEngineCancel = [&board] { CancelEngineMoves(board); };
  }
  void Track(TCpuThin* thread) {
    ASSERT_NE(thread, nullptr);
    ++created;
    alive.insert(thread);
    QObject::connect(thread, &QObject::destroyed, &context, [this, thread] { alive.erase(thread); });
  }
  bool AllEnded() const { return alive.empty(); }

  QObject context;  // the log's connections end with it
};

class EngineThread : public ::testing::Test {
 protected:
  void SetUp() override {
    board.resize(360, 360);
    board.SetBanSize(8, 8);
    board.DefaultSetKoma();
    board.SouNum = &games;
  }

  void TearDown() override { EXPECT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 5000)); }

  // Side 1 played by the engine at library, side 2 by the mouse; the game counted at the start.
  void EngineAgainstUser(const char* library) {
    board.SetBanSize(8, 8);
    board.DefaultSetKoma();
    board.SetWho(QPoint(kCpu, kLocal));
    board.SetCpuPath(0, library);
    threads.Attach(board);
    board.GameShori();
  }

  static bool RunnerStarted() {
    return RunUntil([] { return !ChildProcesses().empty(); }, 10000);
  }

  MessageRecorder boxes;
  TIReversi board;
  ThreadLog threads;
  std::int32_t games = 0;
};

}  // namespace

TEST_F(EngineThread, EngineAgainstEngineRunsToTheResultOneThreadPerMove) {
  board.SetWho(QPoint(kCpu, kCpu));
  board.SetCpuPath(0, BuiltTekum().c_str());
  board.SetCpuPath(1, TINY_ENGINE);
  threads.Attach(board);

  board.GameShori();
  ASSERT_TRUE(RunUntil([&] { return board.FGameEnd == 1; }, 120000)) << "the game did not end";
  ASSERT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 5000)) << "an engine thread outlived its move";

  // Every stone after the four starting ones came from its own thread.
  EXPECT_EQ(threads.created, board.FKomaCount - 4);
  ASSERT_FALSE(boxes.boxes().empty());
  EXPECT_EQ(boxes.boxes().back().caption, QStringLiteral("結果"));
  for (std::size_t i = 0; i + 1 < boxes.boxes().size(); ++i) EXPECT_EQ(boxes.boxes()[i].caption, QStringLiteral("順番"));
  EXPECT_EQ(board.FKuroCount + board.FShiroCount, board.FKomaCount);
}

TEST_F(EngineThread, MoveThatFillsTheBoardEndsTheGameWithoutSwitchingSides) {
  // Every cell is blue but (6,6), white, and (7,7), empty: blue's only move fills the board.
  board.SetBanSize(8, 8);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (!(x == 7 && y == 7)) board.SetKoma(_Rev{x, y, (x == 6 && y == 6) ? 2 : 1});
  board.FTurn = 1;
  board.SetWho(QPoint(kCpu, kLocal));
  board.SetCpuPath(0, BuiltTekum().c_str());
  threads.Attach(board);

  board.GameShori();
  ASSERT_TRUE(RunUntil([&] { return board.FGameEnd == 1; }, 10000));
  EXPECT_EQ(board.FTurn, 1);
  EXPECT_EQ(board.FKomaCount, 64);
  EXPECT_EQ(threads.created, 1);
  EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{
                               {QStringLiteral(u"青の勝ちです\n青：64\n白：0"), QStringLiteral(u"結果")}}));
}

TEST_F(EngineThread, NetworkGameSendsTheMoveAndLeavesTheBoardAlone) {
  board.FNetPlay = true;
  board.SetWho(QPoint(kCpu, kNet));
  board.SetCpuPath(0, BuiltTekum().c_str());
  ConnectEngine(board, BuiltProgramFolder(), [](int) { return kEngineName; });
  std::vector<_Rev> sent;
  board.OnSendMove = [&](const _Rev& move) { sent.push_back(move); };
  const auto before = Cells(board);

  board.GameShori();
  ASSERT_TRUE(RunUntil([&] { return !sent.empty(); }, 10000));
  RunUntil([] { return false; }, 300);  // nothing more may follow

  ASSERT_EQ(sent.size(), 1u);
  const std::set<std::pair<int, int>> legal = {{2, 3}, {3, 2}, {4, 5}, {5, 4}};
  EXPECT_TRUE(legal.count({sent[0].x, sent[0].y}));
  EXPECT_EQ(sent[0].value, 1) << "the side, not the engine's gain";
  EXPECT_EQ(Cells(board), before);
  EXPECT_EQ(board.FKomaCount, 4);
  EXPECT_EQ(board.FTurn, 1);
  EXPECT_TRUE(board.AwaitingEcho());

  // The relayed move comes back and is played like any network move.
  board.NetGet(sent[0]);
  EXPECT_EQ(board.FKomaCount, 5);
  EXPECT_EQ(board.FTurn, 2);
}

TEST_F(EngineThread, ABrokenEngineEndsTheGameWithoutAResultAndSaysWhy) {
  const ShortLimits limits({2s, 1s});
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
    ASSERT_TRUE(RunUntil([&] { return !boxes.boxes().empty(); }, 30000));
    EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{{text, QStringLiteral("Velmora")}}));
    EXPECT_EQ(board.FGameEnd, 1) << "a restart is open at once";
    EXPECT_EQ(games, 0) << "the game counted at its start is taken back";
    EXPECT_EQ(board.FKomaCount, 4);
    EXPECT_FALSE(board.isEnabled());
  }
  EXPECT_TRUE(RunUntil([] { return ChildProcesses().empty(); }, 10000));
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
  const bool moved = RunUntil([&] { return board.FKomaCount == 5; }, 30000);
  thinking = false;
  poster.join();
  QCoreApplication::processEvents();

  ASSERT_TRUE(moved) << "the slow engine's move is played";
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_TRUE(board.isEnabled()) << "the user's turn";
  ASSERT_GE(waits.size(), 10u);
  std::sort(waits.begin(), waits.end());
  EXPECT_LT(waits[waits.size() / 2], 50) << "the window thread answered while the engine thought";
  EXPECT_LT(waits.back(), 1000);
}

TEST_F(EngineThread, AResetOrCloseStopsAHungEngineAtOnce) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "reset");
    EngineAgainstUser(TINY_NEVER_RETURNS);  // with the real limit of a minute
    ASSERT_TRUE(RunnerStarted());
    if (close)
      board.ClearBanSize();
    else
      board.SetBanSize(8, 8);
    EXPECT_TRUE(RunUntil([] { return ChildProcesses().empty(); }, 10000)) << "the runner was killed";
    EXPECT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 10000));
    EXPECT_TRUE(boxes.boxes().empty()) << "a move nobody waits for any more is no failure";
  }
}

TEST_F(EngineThread, AnswerToAPositionThatHasChangedIsDropped) {
  board.SetWho(QPoint(kCpu, kCpu));
  board.SetCpuPath(0, BuiltTekum().c_str());
  board.SetCpuPath(1, BuiltTekum().c_str());
  // Asked for blue's move, but a move arrives first; nobody starts a second engine.
  threads.Track(RequestEngineMove(board, BuiltRunner(), kEngineName));
  board.NetGet(_Rev{2, 3, 1});
  ASSERT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 10000));
  EXPECT_EQ(board.FKomaCount, 5);
  EXPECT_EQ(board.FTurn, 2);

  // Asked for blue's move, then the side changes hands before the answer.
  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  threads.Track(RequestEngineMove(board, BuiltRunner(), kEngineName));
  board.SetWho(QPoint(kLocal, kCpu));
  ASSERT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 10000));
  EXPECT_EQ(board.FKomaCount, 4);
  EXPECT_TRUE(boxes.boxes().empty());
}
