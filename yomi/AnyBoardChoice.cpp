#include "yomi/AnyBoardChoice.h"

#include "yomi/ContractChoice.h"

namespace yomi {

namespace {

constexpr std::int32_t kDirections[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

class AnyBoard {
 public:
  AnyBoard(std::int32_t cols, std::int32_t rows, EngineBoard board, std::int32_t side)
      : cols_(cols), rows_(rows), board_(board), side_(side) {}

  bool OnBoard(std::int32_t x, std::int32_t y) const { return x >= 0 && y >= 0 && x < cols_ && y < rows_; }
  bool Empty(std::int32_t x, std::int32_t y) const { return board_[x][y] == VELM_ENGINE_EMPTY; }

  // 0 when placing on (x, y) turns nothing, else 1 plus the stones turned.
  std::int32_t Gain(std::int32_t x, std::int32_t y) const {
    std::int32_t turned = 0;
    for (const auto& d : kDirections) {
      std::int32_t run = 0;
      std::int32_t cx = x + d[0];
      std::int32_t cy = y + d[1];
      while (OnBoard(cx, cy) && !Empty(cx, cy) && board_[cx][cy] != side_) {
        ++run;
        cx += d[0];
        cy += d[1];
      }
      if (run > 0 && OnBoard(cx, cy) && board_[cx][cy] == side_) turned += run;
    }
    return turned > 0 ? turned + 1 : 0;
  }

  // Higher is better: corners, then edges; the diagonal neighbour of an empty corner is worst.
  std::int32_t Rank(std::int32_t x, std::int32_t y) const {
    const bool edgeX = x == 0 || x == cols_ - 1;
    const bool edgeY = y == 0 || y == rows_ - 1;
    if (edgeX && edgeY) return 3;
    const std::int32_t cornerX = x == 1 ? 0 : x == cols_ - 2 ? cols_ - 1 : -1;
    const std::int32_t cornerY = y == 1 ? 0 : y == rows_ - 2 ? rows_ - 1 : -1;
    if (cornerX >= 0 && cornerY >= 0 && !edgeX && !edgeY && Empty(cornerX, cornerY)) return 0;
    return edgeX || edgeY ? 2 : 1;
  }

 private:
  std::int32_t cols_;
  std::int32_t rows_;
  EngineBoard board_;
  std::int32_t side_;
};

}  // namespace

std::optional<Placement> ChooseOnAnyBoard(std::int32_t cols, std::int32_t rows, EngineBoard board, std::int32_t side) {
  const AnyBoard any(cols, rows, board, side);
  std::optional<Placement> best;
  std::int32_t bestRank = -1;
  for (std::int32_t x = 0; x < cols; ++x)
    for (std::int32_t y = 0; y < rows; ++y) {
      if (!any.Empty(x, y)) continue;
      const std::int32_t gain = any.Gain(x, y);
      if (gain == 0) continue;
      const std::int32_t rank = any.Rank(x, y);
      if (!best || rank > bestRank || (rank == bestRank && gain > best->gain)) {
        best = Placement{x, y, gain};
        bestRank = rank;
      }
    }
  return best;
}

}  // namespace yomi
