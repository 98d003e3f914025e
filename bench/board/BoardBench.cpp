// The board's drawing costs at 450 x 450: one applied move and a full repaint.
#include <benchmark/benchmark.h>


#include "board/IReversi.h"

namespace {

// Every direction of (3, 3) encloses a line: 17 flips and the stone.
void LoadStar(TIReversi& board) {
  const char* rows[] = {"1..1..1.", ".2.2.2..", "..222...", "122.2221",
                        "..222...", ".2.2.2..", "1..1..1.", "........"};
  board.SetBanSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (rows[y][x] != '.') board.SetKoma(_Rev{x, y, rows[y][x] - '0'});
  board.BanDraw();
  board.KomaDrawAll();
}

void LoadStart(TIReversi& board) {
  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  board.BanDraw();
  board.KomaDrawAll();
}

void AppliedMove(benchmark::State& state, void (*load)(TIReversi&), _Rev move) {
  TIReversi board;
  board.resize(450, 450);
  for (auto _ : state) {
    state.PauseTiming();
    load(board);
    state.ResumeTiming();
    board.KomaGaeshi(move);
    benchmark::DoNotOptimize(board.Bitmap().constBits());
  }
}

void BM_MoveOneFlip(benchmark::State& state) { AppliedMove(state, LoadStart, _Rev{2, 3, 1}); }
void BM_MoveEveryDirection(benchmark::State& state) { AppliedMove(state, LoadStar, _Rev{3, 3, 1}); }

void BM_FullRepaint(benchmark::State& state) {
  TIReversi board;
  board.resize(450, 450);
  board.SetBanSize(8, 8);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) board.SetKoma(_Rev{x, y, 1 + (x + y) % 2});  // a full board
  for (auto _ : state) {
    board.BanDraw();
    board.KomaDrawAll();
    benchmark::DoNotOptimize(board.Bitmap().constBits());
  }
}

BENCHMARK(BM_MoveOneFlip);
BENCHMARK(BM_MoveEveryDirection);
BENCHMARK(BM_FullRepaint);

}  // namespace
