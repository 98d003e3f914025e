// The program's end with workers about: how long stopped workers take to end and be joined,
// and that a worker which never ends (a router that does not answer) costs the bound and no
// more. The program waits 2 s (app/main.cpp); the same bound is used here.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <future>
#include <memory>
#include <vector>

#include "platform/Worker.h"

namespace {

using platform::Worker;
constexpr std::chrono::milliseconds kExitWait{2000};

// Workers resting as a router mapping does between renewals: a stop ends them.
void BM_EndWithStoppedWorkers(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < state.range(0); ++i)
      workers.push_back(std::make_unique<Worker>([](Worker::Context& context) { context.Rest(3600 * 1000); }));
    QElapsedTimer clock;
    clock.start();
    workers.clear();  // the owners let go, as the windows do at the program's end
    const bool ended = Worker::WaitAllEnded(kExitWait);
    QCoreApplication::processEvents();  // the joins posted to the window thread
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    if (!ended) state.SkipWithError("a stopped worker did not end");
  }
}
BENCHMARK(BM_EndWithStoppedWorkers)->Arg(1)->Arg(16)->UseManualTime()->Unit(benchmark::kMillisecond);

// One worker blocked where no stop reaches it: the end waits for the bound, then goes on.
void BM_EndWithABlockedWorker(benchmark::State& state) {
  for (auto _ : state) {
    std::promise<void> release;
    auto blocked = std::make_unique<Worker>([gate = release.get_future().share()](Worker::Context&) { gate.wait(); });
    QElapsedTimer clock;
    clock.start();
    blocked.reset();
    const bool ended = Worker::WaitAllEnded(kExitWait);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    release.set_value();
    Worker::WaitAllEnded(std::chrono::seconds(10));
    QCoreApplication::processEvents();
    if (ended) state.SkipWithError("the blocked worker ended");
  }
}
BENCHMARK(BM_EndWithABlockedWorker)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
