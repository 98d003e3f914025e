#pragma once
#include <gtest/gtest.h>

#include <QPoint>

#include "board/IReversi.h"
#include "game/Game.h"
#include "tests/game/BoardText.h"
#include "tests/support/MessageRecorder.h"

// A game shown on a 450 x 450 board in the classic look (cells of 50 pixels from (25, 25)),
// its moves played as the board hands them on, with recorded message boxes and the six record
// counters in an array.
class BoardFixture : public ::testing::Test {
 protected:
  enum Counter { kSouNum, kSouWin, kSouLose, kNetNum, kNetWin, kNetLose };

  BoardFixture() {
    board.resize(450, 450);
    board.SetLook({true, false, false, false});
    game.SetCounters({&counters[kSouNum], &counters[kSouWin], &counters[kSouLose], &counters[kNetNum],
                      &counters[kNetWin], &counters[kNetLose]});
    board.OnMove = [this](const _Rev& move) { game.Play(move); };
  }

  // A point well inside the hit area of a cell (hit areas start 5 pixels before the grid).
  static QPoint Centre(int x, int y) { return {45 + 50 * x, 45 + 50 * y}; }

  // Moves the pointer over a cell, then clicks it, through the board's handlers.
  void ClickCell(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint at = Centre(x, y);
    board.BanMouseMove(&board, {}, at.x(), at.y());
    board.BanMouseDown(&board, button, {}, at.x(), at.y());
  }

  static constexpr int kLocal = static_cast<int>(PlayerKind::Local);
  static constexpr int kCpu = static_cast<int>(PlayerKind::Cpu);
  static constexpr int kNet = static_cast<int>(PlayerKind::Net);

  MessageRecorder boxes;
  std::int32_t counters[6] = {};
  Game game;
  TIReversi board{game};
};
