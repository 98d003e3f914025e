// One engine move as the game makes it: the engine runner started for the call, which loads
// TEKUM.DLL, looks Tekuming up, calls it on a copy of the board, frees the library and answers
// over its pipe. Beside it, the same call made in this process (how the game once called
// engines), and the choice alone, for scale. Each call is timed on its own, so the runner's
// figures are a median and a 99th percentile of single moves, in wall-clock time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/TekumChoice.h"
#include "enginehost/EngineCalls.h"
#include "enginerunner/EngineCall.h"

namespace {

std::string ProgramFolder() {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return std::string(dir ? dir : VELM_BIN_DIR_DEFAULT) + "/";
}

std::string TekumPath() { return ProgramFolder() + "DllCpu/Tekum/TEKUM.DLL"; }

// Rows are y, characters x: '.' empty, '1' and '2' the sides.
class Position {
 public:
  explicit Position(const std::vector<std::string>& rows) : cells_(8, std::vector<std::int32_t>(8)) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) cells_[x][y] = rows[y][x] == '.' ? 0 : rows[y][x] - '0';
    for (auto& column : cells_) {
      columns_.push_back(column.data());
      request_.cells.insert(request_.cells.end(), column.begin(), column.end());
    }
    request_.columns = 8;
    request_.rows = 8;
    request_.side = 1;
  }
  std::int32_t* const* Columns() const { return columns_.data(); }
  const runnerwire::MoveRequest& Request() const { return request_; }

 private:
  std::vector<std::vector<std::int32_t>> cells_;
  std::vector<std::int32_t*> columns_;
  runnerwire::MoveRequest request_;
};

const Position kStart({"........", "........", "........", "...21...", "...12...", "........", "........", "........"});

// 52 stones: the late phase, with several legal moves for side 1 along the edges.
const Position kLate({
    "2222221.",  //
    "12122211",  //
    "11212211",  //
    "12221211",  //
    "12212211",  //
    "12222121",  //
    ".2222212",  //
    "..222.2.",
});

void MoveThroughRunner(benchmark::State& state, const Position* position) {
  const std::string runner = EngineRunnerIn(ProgramFolder());
  const std::string path = TekumPath();
  for (auto _ : state) {
    auto move = AskEngineMove(runner, path, 8, 8, position->Columns(), 1);
    if (!move.value) {
      state.SkipWithError("the runner gave no move");
      return;
    }
    benchmark::DoNotOptimize(move);
  }
}

void MoveInProcess(benchmark::State& state, const Position* position) {
  const std::string path = TekumPath();
  for (auto _ : state) {
    auto move = enginecall::CallTekuming(path, position->Request());
    if (!move) {
      state.SkipWithError("TEKUM.DLL did not answer");
      return;
    }
    benchmark::DoNotOptimize(move);
  }
}

void ChoiceAlone(benchmark::State& state, const Position* position) {
  for (auto _ : state) {
    auto move = tekum::ChooseMove({8, 8, position->Columns()}, 1, 12345);
    benchmark::DoNotOptimize(move);
  }
}

double Percentile99(const std::vector<double>& times) {
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  return sorted.empty() ? 0.0 : sorted[(sorted.size() * 99) / 100];
}

// One move per repetition: the aggregates are those of single moves.
void SingleMoves(benchmark::internal::Benchmark* b) {
  b->Iterations(1)->Repetitions(1000)->UseRealTime()->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
  b->ComputeStatistics("p99", Percentile99);
}

}  // namespace

BENCHMARK_CAPTURE(MoveThroughRunner, start, &kStart)->Apply(SingleMoves);
BENCHMARK_CAPTURE(MoveThroughRunner, late, &kLate)->Apply(SingleMoves);
BENCHMARK_CAPTURE(MoveInProcess, start, &kStart)->Apply(SingleMoves);
BENCHMARK_CAPTURE(MoveInProcess, late, &kLate)->Apply(SingleMoves);
BENCHMARK_CAPTURE(ChoiceAlone, start, &kStart)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ChoiceAlone, late, &kLate)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
