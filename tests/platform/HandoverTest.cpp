// The worker's synchronous call onto the main thread, and how the main thread ends it.
#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

#include "platform/MainThreadHandover.h"

using namespace std::chrono_literals;

TEST(Handover, RunsTheProcedureOnTheMainThreadAndWaitsForIt) {
  QObject receiver;
  auto handover = std::make_shared<MainThreadHandover>(&receiver);
  const auto mainThread = std::this_thread::get_id();
  int value = 0;  // written on the main thread, read by the worker once Run() has returned
  bool ranOnMain = false;
  auto worker = std::async(std::launch::async, [&] {
    const bool ran = handover->Run([&] {
      ranOnMain = std::this_thread::get_id() == mainThread;
      value = 42;
    });
    return std::make_pair(ran, value);
  });
  // The worker cannot finish while nothing is processed on the main thread.
  EXPECT_EQ(worker.wait_for(100ms), std::future_status::timeout);
  while (worker.wait_for(1ms) != std::future_status::ready) QCoreApplication::processEvents();
  const auto [ran, seen] = worker.get();
  EXPECT_TRUE(ran);
  EXPECT_EQ(seen, 42);
  EXPECT_TRUE(ranOnMain);
}

TEST(Handover, OnTheMainThreadItRunsAtOnce) {
  QObject receiver;
  auto handover = std::make_shared<MainThreadHandover>(&receiver);
  int value = 0;
  EXPECT_TRUE(handover->Run([&] { value = 1; }));
  EXPECT_EQ(value, 1);
  handover->Close();
  EXPECT_FALSE(handover->Run([&] { value = 2; }));
  EXPECT_EQ(value, 1);
}

TEST(Handover, ClosingReleasesAWaitingWorkerAndDropsItsProcedure) {
  auto receiver = std::make_unique<QObject>();
  auto handover = std::make_shared<MainThreadHandover>(receiver.get());
  std::atomic<int> runs = 0;
  auto worker = std::async(std::launch::async, [&] { return handover->Run([&] { ++runs; }); });
  ASSERT_EQ(worker.wait_for(100ms), std::future_status::timeout);  // posted and waiting

  // The main thread never processes that call: as when the event loop has already ended.
  handover->Close();
  ASSERT_EQ(worker.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(worker.get());

  receiver.reset();  // the window goes away, with the call still queued for it
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0);

  // A worker that comes back later is turned away at once, and nothing is queued.
  auto late = std::async(std::launch::async, [&] { return handover->Run([&] { ++runs; }); });
  ASSERT_EQ(late.wait_for(2s), std::future_status::ready);
  EXPECT_FALSE(late.get());
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0);
}

TEST(Handover, AQueuedProcedureDoesNotRunAfterClose) {
  QObject receiver;
  auto handover = std::make_shared<MainThreadHandover>(&receiver);
  std::atomic<int> runs = 0;
  auto worker = std::async(std::launch::async, [&] { return handover->Run([&] { ++runs; }); });
  ASSERT_EQ(worker.wait_for(100ms), std::future_status::timeout);
  // Closed while the call is queued, and the receiver lives on: the call still does nothing.
  handover->Close();
  QCoreApplication::processEvents();
  EXPECT_FALSE(worker.get());
  EXPECT_EQ(runs, 0);
}

TEST(Handover, ClosedFromInsideItsProcedureTheWorkerWaitsForTheProcedureToReturn) {
  QObject receiver;
  auto handover = std::make_shared<MainThreadHandover>(&receiver);
  std::atomic<bool> procedureDone = false;
  std::atomic<bool> workerSawDone = false;
  auto worker = std::async(std::launch::async, [&] {
    const bool ran = handover->Run([&] {
      // The owner lets go while handling this worker's call, as a window closing in a
      // nested event loop does; the worker's buffers are still in use until we return.
      handover->Close();
      std::this_thread::sleep_for(50ms);
      procedureDone = true;
    });
    workerSawDone = procedureDone.load();
    return ran;
  });
  while (worker.wait_for(1ms) != std::future_status::ready) QCoreApplication::processEvents();
  EXPECT_TRUE(worker.get());
  EXPECT_TRUE(workerSawDone);
}
