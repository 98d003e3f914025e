#include "game/CellName.h"

std::string CellName(int x, int y, int cols, int rows) {
  if (x >= 0 && x < cols && x < 26 && y >= 0 && y < rows) return std::string(1, static_cast<char>('a' + x)) + std::to_string(y + 1);
  return std::to_string(x) + "," + std::to_string(y);
}
