#pragma once
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "game/Rev.h"

namespace gamelog {

// One cell of the 8 x 8 board as players write it: columns a to h from the left, rows 1 to 8
// from the top. A pass has no cell.
struct Move {
  int side = 1;  // 1 plays first (先行, black), 2 second (後攻, white)
  int x = -1;    // column 0..7, or -1 for a pass
  int y = -1;    // row 0..7, or -1 for a pass

  static Move Pass(int side) { return {side, -1, -1}; }
  bool IsPass() const { return x < 0; }
  bool operator==(const Move&) const = default;
};

// A board and the side to move: the standard start, or any position a game was begun from.
struct Position {
  std::array<std::int8_t, 64> cells{};  // index y * 8 + x: 0 empty, 1 or 2 a side's stone
  int sideToMove = 1;

  static Position Standard();
  std::int8_t At(int x, int y) const { return cells[static_cast<std::size_t>(y * 8 + x)]; }
  int Count(int side) const;
  int Empties() const { return 64 - Count(1) - Count(2); }
  bool operator==(const Position&) const = default;
};

struct Player {
  QString name;
  PlayerKind kind = PlayerKind::None;
};

// One game as the log keeps it. The moves include every pass, and each was legal when it was
// played; the counts and the result follow from them.
struct GameRecord {
  QDateTime started;   // when its first position was shown
  Player first;        // side 1: 先行, black
  Player second;       // side 2: 後攻, white
  Position start = Position::Standard();
  std::vector<Move> moves;
  bool finished = false;  // false: left before the end (closed, reset, a player gone)

  // The position after every move.
  Position Final() const;
};

// Names as players write them: "f5"; a pass is "pass".
QString MoveText(const Move& move);

}  // namespace gamelog
