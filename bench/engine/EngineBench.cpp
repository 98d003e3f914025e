// One engine move as the game makes it: load TEKUM.DLL, look Tekuming up, call it on a private
// copy of the board, free the library. The choice alone is measured beside it for scale.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/TekumChoice.h"
#include "enginehost/EngineCalls.h"

namespace {

std::string TekumPath() {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return std::string(dir ? dir : VELM_BIN_DIR_DEFAULT) + "/DllCpu/Tekum/TEKUM.DLL";
}

// Rows are y, characters x: '.' empty, '1' and '2' the sides.
class Position {
 public:
  explicit Position(const std::vector<std::string>& rows) : cells_(8, std::vector<std::int32_t>(8)) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) cells_[x][y] = rows[y][x] == '.' ? 0 : rows[y][x] - '0';
    for (auto& column : cells_) columns_.push_back(column.data());
  }
  std::int32_t* const* Columns() const { return columns_.data(); }

 private:
  std::vector<std::vector<std::int32_t>> cells_;
  std::vector<std::int32_t*> columns_;
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

void MoveThroughContract(benchmark::State& state, const Position* position) {
  const std::string path = TekumPath();
  for (auto _ : state) {
    auto move = AskEngineMove(path, 8, 8, position->Columns(), 1);
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

}  // namespace

BENCHMARK_CAPTURE(MoveThroughContract, start, &kStart)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(MoveThroughContract, late, &kLate)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ChoiceAlone, start, &kStart)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ChoiceAlone, late, &kLate)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
