#include "game/CellName.h"

std::string CellName(int x, int y) {
  if (x >= 0 && x < 26 && y >= 0 && y < 99) return std::string(1, static_cast<char>('a' + x)) + std::to_string(y + 1);
  return std::to_string(x) + "," + std::to_string(y);
}
