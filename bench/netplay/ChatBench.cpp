// The game screen's chat under a flood: 200,000 log lines through the socket form into the
// chat view. Reports the memory the process gained (resident set) and the time per line.
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include <fstream>

#include "net/Socket.h"
#include "screens/ChatHistory.h"

namespace {

double ResidentMb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

void BM_ChatFlood(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  double grown = 0;
  for (auto _ : state) {
    QPlainTextEdit view;
    ChatHistory history(&view);
    TfrmSocket socket;
    socket.SetOutputControl(&view);
    const double before = ResidentMb();
    for (int i = 0; i < lines; ++i)
      socket.AppendLogLine(QStringLiteral("No.12(flooder):a chat line of ordinary length, number %1").arg(i));
    grown = ResidentMb() - before;
    benchmark::DoNotOptimize(history.LogBytes().size());
  }
  state.counters["rss_growth_mb"] = grown;
  state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ChatFlood)->ArgName("lines")->Arg(200000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
