// One engine move on its own: the engine is asked about its snapshot in the runner and only the
// answer comes back; a cancelled move never answers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <set>

#include "enginehost/CpuThread.h"
#include "platform/Worker.h"
#include "tests/enginehost/EngineFolder.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/Wait.h"

TEST(EngineMove, AnswersAboutItsSnapshotAndCancelledNeverAnswers) {
  Game game;
  int answers = 0;
  std::optional<_Rev> move;
  EngineMove asked = std::make_unique<TCpuThin>(BuiltRunner(), BuiltTekum(), game.Snapshot(), EngineTimeLimits{},
                                                [&](const EngineAnswer<_Rev>& answer) {
                                                  ++answers;
                                                  move = answer.value;
                                                });
  game.Play(_Rev{2, 3, 1});  // the engine was given its own copy of the position
  ASSERT_TRUE(WaitUntil([&] { return answers > 0; }, 10000));
  ASSERT_TRUE(move);
  EXPECT_EQ(move->value, 1);
  EXPECT_TRUE((std::set<std::pair<int, int>>{{2, 3}, {3, 2}, {4, 5}, {5, 4}}).count({move->x, move->y}));

  EngineMove cancelled = std::make_unique<TCpuThin>(BuiltRunner(), TINY_SLOW, game.Snapshot(), EngineTimeLimits{},
                                                    [&](const EngineAnswer<_Rev>&) { ++answers; });
  ASSERT_TRUE(WaitUntil([] { return !ChildProcesses().empty(); }, 10000));
  cancelled.reset();
  EXPECT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000));
  // Its worker has ended: nothing of it can be handed over any more.
  EXPECT_TRUE(WaitUntil([] { return platform::Worker::Running() == 0; }));
  EXPECT_EQ(answers, 1);
}
