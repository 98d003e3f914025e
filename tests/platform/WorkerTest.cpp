// The one worker type: stopped without being waited for, joined once it has ended, its
// hand-overs dropped once stopped, and the program's end bounded whatever a body does.
#include <gtest/gtest.h>

#include <poll.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/Worker.h"
#include "tests/support/Wait.h"

using namespace std::chrono_literals;
using platform::Worker;

namespace {

// A body that ignores every stop until the test lets it go, as a blocked system call would.
struct Blocked {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  Worker::Body Body() {
    return [gate = released](Worker::Context&) { gate.wait(); };
  }
};

}  // namespace

TEST(Worker, HandsOverUntilStoppedAndEveryWayOfStoppingReachesTheBody) {
  std::atomic<int> handed{0};
  std::atomic<bool> rested{true}, stopFdReadable{false}, woken{false};
  auto worker = std::make_unique<Worker>(
      [&](Worker::Context& context) {
        while (context.Hand([&] { ++handed; }) && handed < 3) {
        }
        rested = context.Rest(60000);
        pollfd p{context.StopFd(), POLLIN, 0};
        stopFdReadable = ::poll(&p, 1, 10000) == 1;
        EXPECT_FALSE(context.Hand([&] { ++handed; })) << "nothing is handed over once stopped";
      },
      [&] { woken = true; });
  ASSERT_TRUE(WaitUntil([&] { return handed == 3; }));
  worker->Stop();
  EXPECT_TRUE(woken) << "the owner's own wake";
  ASSERT_TRUE(WaitUntil([&] { return worker->Ended(); }));
  EXPECT_FALSE(rested) << "a stop ends a rest at once";
  EXPECT_TRUE(stopFdReadable);
  EXPECT_EQ(handed, 3);
}

TEST(Worker, TheOwnerLetsGoAtOnceAndTheThreadIsJoinedWhenItEnds) {
  Blocked blocked;
  const int before = Worker::Running();
  QElapsedTimer clock;
  clock.start();
  { Worker worker(blocked.Body()); }
  EXPECT_LT(clock.elapsed(), 1000) << "the window thread does not wait for a body that does not stop";
  EXPECT_EQ(Worker::Running(), before + 1);
  EXPECT_FALSE(Worker::WaitAllEnded(200ms)) << "the program's end waits only as long as it is told";
  blocked.release.set_value();
  EXPECT_TRUE(WaitUntil([&] { return Worker::Running() == before; }));
}

TEST(Worker, ItsOwnHandOverMayLetItGo) {
  std::unique_ptr<Worker> worker;
  bool ran = false;
  worker = std::make_unique<Worker>([&](Worker::Context& context) {
    context.Hand([&] {
      worker.reset();  // the owner goes from inside the procedure; the worker goes on after it
      ran = true;
    });
  });
  ASSERT_TRUE(WaitUntil([&] { return ran; }));
  EXPECT_TRUE(WaitUntil([] { return Worker::Running() == 0; }));
}

// The program's end goes on once no worker counts as running, and then drops the joins still
// posted to the window thread without running them. By then the thread must hold nothing of
// its own: what its body held (and its share of the worker) goes while it still counts, or
// the last of it would go on the thread itself, which cannot join itself.
TEST(Worker, WhatTheBodyHeldGoesWhileItStillCounts) {
  struct Held {
    explicit Held(std::atomic<int>& seen) : runningWhenGone(seen) {}
    ~Held() { runningWhenGone = Worker::Running(); }
    std::atomic<int>& runningWhenGone;
  };
  std::atomic<int> runningWhenGone{-1};
  Blocked blocked;
  {
    Worker worker([held = std::make_shared<Held>(runningWhenGone), gate = blocked.released](Worker::Context&) {
      gate.wait();
    });
  }  // let go while it runs: its join will be posted
  blocked.release.set_value();
  ASSERT_TRUE(Worker::WaitAllEnded(10s));
  QCoreApplication::removePostedEvents(QCoreApplication::instance());  // as the application's end does
  EXPECT_EQ(runningWhenGone, 1);
}
