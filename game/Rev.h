#pragma once
#include <cstdint>

// A position and a value: a cell with its content, or a move with the side that makes it.
// The same 12 bytes travel in move records and come back from engines.
struct _Rev {
  std::int32_t x;      // column, 0 = leftmost
  std::int32_t y;      // row, 0 = top
  std::int32_t value;  // cell value (0 empty, 1 side 1, 2 side 2) or the moving side
};
static_assert(sizeof(_Rev) == 12, "_Rev is three 32-bit integers");

// Who plays a side. Stored as a plain int32 in the board's FWho1/FWho2.
enum class PlayerKind : std::int32_t { None = 0, Local = 1, Cpu = 2, Net = 3 };
