// The engine runner as the program uses it: every way an engine can fail is told apart, the time
// limit and a cancel kill the runner, nothing is left behind, and calls never overlap.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <future>

#include "enginehost/EngineCalls.h"
#include "enginehost/EngineProcess.h"
#include "tests/enginehost/EngineFolder.h"
#include "tests/support/Wait.h"
#include "tests/support/ChildProcesses.h"

namespace {

using namespace std::chrono_literals;

// The starting position, column by column.
struct StartBoard {
  std::int32_t cells[8][8] = {};
  std::int32_t* columns[8];
  StartBoard() {
    cells[3][3] = cells[4][4] = 2;
    cells[3][4] = cells[4][3] = 1;
    for (int x = 0; x < 8; ++x) columns[x] = cells[x];
  }
};

EngineFailure Move(const char* library, EngineCallCancel* cancel = nullptr,
                   std::chrono::milliseconds limit = EngineTimeLimits{}.move) {
  StartBoard board;
  return AskEngineMove(BuiltRunner(), library, 8, 8, board.columns, 1, cancel, limit).failure;
}

}  // namespace

TEST(EngineRunner, EveryWayAnEngineFailsIsToldApart) {
  EXPECT_EQ(Move(TINY_ENGINE, nullptr, kShortLimits.move), EngineFailure::None);
  EXPECT_EQ(Move(TINY_PRINTS, nullptr, kShortLimits.move), EngineFailure::None) << "what an engine prints is no part of its answer";
  EXPECT_EQ(Move(TINY_CRASH_IN_MOVE, nullptr, kShortLimits.move), EngineFailure::Crashed);
  EXPECT_EQ(Move(TINY_CRASH_ON_LOAD, nullptr, kShortLimits.move), EngineFailure::Crashed);
  EXPECT_EQ(Move(TINY_NEVER_RETURNS, nullptr, kShortLimits.move), EngineFailure::TimedOut);
  EXPECT_EQ(Move(TINY_NO_MOVE, nullptr, kShortLimits.move), EngineFailure::NotAnEngine);
  EXPECT_EQ(QueryEngineStatus(BuiltRunner(), TINY_CRASH_IN_STATUS).failure, EngineFailure::Crashed);
  // Answers against the rules are the caller's to judge: they come back as they are.
  StartBoard board;
  const auto outside = AskEngineMove(BuiltRunner(), TINY_OUTSIDE, 8, 8, board.columns, 2);
  ASSERT_TRUE(outside.value.has_value());
  EXPECT_EQ((std::pair{outside.value->x, outside.value->y}), (std::pair{8, -1}));
  // Without the runner program nothing can be called.
  EXPECT_EQ(AskEngineMove("/nonexistent/velmora-engine", TINY_ENGINE, 8, 8, board.columns, 1).failure,
            EngineFailure::NotAnEngine);

  EXPECT_TRUE(ChildProcesses().empty()) << "every runner was killed and reaped";
}

TEST(EngineRunner, ACancelKillsAHungRunnerAtOnce) {
  EngineCallCancel cancel;
  auto call = std::async(std::launch::async, [&] { return Move(TINY_NEVER_RETURNS, &cancel); });
  ASSERT_TRUE(WaitUntil([] { return !ChildProcesses().empty(); }, 10000)) << "the runner did not start";
  QElapsedTimer clock;
  clock.start();
  cancel.Cancel();
  ASSERT_EQ(call.wait_for(10s), std::future_status::ready) << "the time limit is a minute, not this";
  EXPECT_EQ(call.get(), EngineFailure::Cancelled);
  EXPECT_TRUE(ChildProcesses().empty());

  // Once cancelled, a call does not even start.
  EXPECT_EQ(Move(TINY_ENGINE, &cancel), EngineFailure::Cancelled);
}

TEST(EngineRunner, CallsNeverOverlap) {
  // Two threads ask an engine that never answers: the second runner starts only once the first
  // is gone, so together they take two time limits at least.
  QElapsedTimer clock;
  clock.start();
  auto first = std::async(std::launch::async, [] { return Move(TINY_NEVER_RETURNS, nullptr, 500ms); });
  auto second = std::async(std::launch::async, [] { return Move(TINY_NEVER_RETURNS, nullptr, 500ms); });
  EXPECT_EQ(first.get(), EngineFailure::TimedOut);
  EXPECT_EQ(second.get(), EngineFailure::TimedOut);
  EXPECT_GE(clock.elapsed(), 1000);
}
