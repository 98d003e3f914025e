// The engine thread driving the board: whole games, the last move, network games, bad answers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <set>

#include "board/IReversi.h"
#include "enginehost/CpuThread.h"
#include "tests/enginehost/EngineFolder.h"
#include "tests/support/MessageRecorder.h"

namespace {

constexpr int kCpu = static_cast<int>(PlayerKind::Cpu);
constexpr int kLocal = static_cast<int>(PlayerKind::Local);
constexpr int kNet = static_cast<int>(PlayerKind::Net);

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
    board.OnEngineRequest = [this, &board] { Track(RequestEngineMove(board)); };
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
  }

  void TearDown() override { EXPECT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 5000)); }

  MessageRecorder boxes;
  TIReversi board;
  ThreadLog threads;
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
  ConnectEngine(board);
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

TEST_F(EngineThread, BrokenOrAbsentEnginesMakeNoMove) {
  for (const char* library : {TINY_OUTSIDE, TINY_OCCUPIED, TINY_ILLEGAL, TINY_NO_MOVE, "/nonexistent/TEKUM.DLL"}) {
    SCOPED_TRACE(library);
    board.SetBanSize(8, 8);
    board.DefaultSetKoma();
    board.SetWho(QPoint(kCpu, kLocal));
    board.SetCpuPath(0, library);
    ThreadLog log;
    log.Attach(board);
    const auto before = Cells(board);

    board.GameShori();
    ASSERT_TRUE(RunUntil([&] { return log.created == 1 && log.AllEnded(); }, 10000));
    EXPECT_EQ(Cells(board), before);
    EXPECT_EQ(board.FKomaCount, 4);
    EXPECT_EQ(board.FTurn, 1);
    EXPECT_FALSE(board.isEnabled()) << "the board keeps waiting for the engine";
    EXPECT_TRUE(boxes.boxes().empty());
  }
}

TEST_F(EngineThread, AnswerToAPositionThatHasChangedIsDropped) {
  board.SetWho(QPoint(kCpu, kCpu));
  board.SetCpuPath(0, BuiltTekum().c_str());
  board.SetCpuPath(1, BuiltTekum().c_str());
  // Asked for blue's move, but a move arrives first; nobody starts a second engine.
  threads.Track(RequestEngineMove(board));
  board.NetGet(_Rev{2, 3, 1});
  ASSERT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 10000));
  EXPECT_EQ(board.FKomaCount, 5);
  EXPECT_EQ(board.FTurn, 2);

  // Asked for blue's move, then the side changes hands before the answer.
  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  threads.Track(RequestEngineMove(board));
  board.SetWho(QPoint(kLocal, kCpu));
  ASSERT_TRUE(RunUntil([&] { return threads.AllEnded(); }, 10000));
  EXPECT_EQ(board.FKomaCount, 4);
}
