// The board's drawing costs: one applied move and a full repaint in the classic look at
// 450 x 450, and the whole square board painted at a device pixel ratio of 1 and of 2, as a
// screen of twice the pixels paints it (median and 99th percentile).
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

#include "board/IReversi.h"
#include "game/Game.h"

namespace {

// Every direction of (3, 3) encloses a line: 17 flips and the stone.
BoardModel Star() {
  const char* rows[] = {"1..1..1.", ".2.2.2..", "..222...", "122.2221",
                        "..222...", ".2.2.2..", "1..1..1.", "........"};
  BoardModel board;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (rows[y][x] != '.') board.SetKoma(_Rev{x, y, rows[y][x] - '0'});
  return board;
}

BoardModel Start() {
  BoardModel board;
  board.DefaultSetKoma();
  return board;
}

// A full board, half of each side.
BoardModel Full() {
  BoardModel board;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) board.SetKoma(_Rev{x, y, 1 + (x + y) % 2});
  return board;
}

void AppliedMove(benchmark::State& state, BoardModel (*position)(), _Rev move) {
  Game game;
  TIReversi board(game);
  board.resize(450, 450);
  board.SetLook({true, false, false, false});
  const BoardModel start = position();
  for (auto _ : state) {
    state.PauseTiming();
    game.StartFrom(start, 1);
    state.ResumeTiming();
    game.Play(move);
    benchmark::DoNotOptimize(board.Bitmap().constBits());
  }
}

void BM_MoveOneFlip(benchmark::State& state) { AppliedMove(state, Start, _Rev{2, 3, 1}); }
void BM_MoveEveryDirection(benchmark::State& state) { AppliedMove(state, Star, _Rev{3, 3, 1}); }

void BM_FullRepaint(benchmark::State& state) {
  Game game;
  game.StartFrom(Full(), 1);
  TIReversi board(game);
  board.resize(450, 450);
  board.SetLook({true, false, false, false});
  for (auto _ : state) {
    board.BanDraw();
    board.KomaDrawAll();
    benchmark::DoNotOptimize(board.Bitmap().constBits());
  }
}

// The square board of the game screen's default size, every cell filled, the last move and a
// hint marked, painted into a picture of the screen's pixels.
void BM_PaintSquareBoard(benchmark::State& state) {
  const double ratio = static_cast<double>(state.range(0));
  Game game;
  game.StartFrom(Full(), 1);
  TIReversi board(game);
  board.resize(360, 345);
  board.ShowHint(_Rev{0, 0, 1});
  QImage screen(static_cast<int>(360 * ratio), static_cast<int>(345 * ratio), QImage::Format_ARGB32_Premultiplied);
  screen.setDevicePixelRatio(ratio);
  std::vector<double> times;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    {
      QPainter painter(&screen);
      board.PaintBoard(painter, ratio);
    }
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - begin;
    times.push_back(took.count());
    state.SetIterationTime(took.count() / 1e6);
  }
  std::sort(times.begin(), times.end());
  const auto at = [&](double q) { return times.empty() ? 0.0 : times[std::min(times.size() - 1, static_cast<std::size_t>(q * times.size()))]; };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
}

BENCHMARK(BM_MoveOneFlip);
BENCHMARK(BM_MoveEveryDirection);
BENCHMARK(BM_FullRepaint);
BENCHMARK(BM_PaintSquareBoard)->ArgName("ratio")->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
