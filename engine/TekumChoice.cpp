#include "engine/TekumChoice.h"

namespace tekum {

Grid::Grid(std::int32_t cols, std::int32_t rows)
    : cols_(cols), rows_(rows), data_(static_cast<std::size_t>(cols), std::vector<std::int32_t>(static_cast<std::size_t>(rows))) {
  columns_.reserve(data_.size());
  for (auto& column : data_) columns_.push_back(column.data());
}

Grid::Grid(const BoardView& from) : Grid(from.cols, from.rows) {
  for (std::int32_t x = 0; x < cols_; ++x)
    for (std::int32_t y = 0; y < rows_; ++y) data_[x][y] = from.At(x, y);
}

std::int32_t CountOccupied(const BoardView& board) {
  std::int32_t count = 0;
  for (std::int32_t x = 0; x < board.cols; ++x)
    for (std::int32_t y = 0; y < board.rows; ++y)
      if (board.At(x, y) != VELM_ENGINE_EMPTY) ++count;
  return count;
}

namespace {

bool IsOpponent(std::int32_t cell, std::int32_t side) { return cell != VELM_ENGINE_EMPTY && cell != side; }

// Opponent pieces from the neighbour in (dx, dy) up to one of side's, or 0 when the line
// runs off the board or into an empty cell first.
std::int32_t Enclosed(const BoardView& board, std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                      std::int32_t side) {
  std::int32_t passed = 0;
  for (std::int32_t px = x + dx, py = y + dy; board.Inside(px, py); px += dx, py += dy) {
    const std::int32_t cell = board.At(px, py);
    if (cell == side) return passed;
    if (cell == VELM_ENGINE_EMPTY) return 0;
    ++passed;
  }
  return 0;
}

}  // namespace

bool IsLegal(const BoardView& board, std::int32_t x, std::int32_t y, std::int32_t side) {
  if (board.At(x, y) != VELM_ENGINE_EMPTY) return false;
  for (std::int32_t dx = -1; dx <= 1; ++dx)
    for (std::int32_t dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      if (!board.Inside(x + dx, y + dy) || !IsOpponent(board.At(x + dx, y + dy), side)) continue;
      if (Enclosed(board, x, y, dx, dy, side) > 0) return true;
    }
  return false;
}

std::int32_t CountGain(const BoardView& board, std::int32_t x, std::int32_t y, std::int32_t side) {
  std::int32_t gain = 1;
  for (std::int32_t dx = -1; dx <= 1; ++dx)
    for (std::int32_t dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      if (board.Inside(x + dx, y + dy) && IsOpponent(board.At(x + dx, y + dy), side))
        gain += Enclosed(board, x, y, dx, dy, side);
    }
  return gain;
}

std::vector<Candidate> FindCandidates(const BoardView& board, std::int32_t side) {
  std::vector<Candidate> candidates;
  candidates.reserve(1);
  for (std::int32_t x = 0; x < board.cols; ++x)
    for (std::int32_t y = 0; y < board.rows; ++y)
      if (IsLegal(board, x, y, side)) candidates.push_back({x, y, CountGain(board, x, y, side)});
  return candidates;
}

std::int64_t PhaseThreshold(std::int32_t cols, std::int32_t rows) {
  return (2 * static_cast<std::int64_t>(cols) * rows) / 3;
}

bool IsLatePhase(std::int64_t occupied, std::int32_t cols, std::int32_t rows) {
  return occupied > PhaseThreshold(cols, rows);
}

void BuildWeightMap(Grid& work, const BoardView& board, std::int32_t side) {
  const std::int32_t X = board.cols;
  const std::int32_t Y = board.rows;
  auto occupied = [&](std::int32_t x, std::int32_t y) { return board.At(x, y) != VELM_ENGINE_EMPTY; };

  // 1. The inner block.
  for (std::int32_t x = 2; x <= X - 3; ++x)
    for (std::int32_t y = 2; y <= Y - 3; ++y) work.At(x, y) = 5;
  // 2. Second and second-last columns: good beside an occupied edge cell, poor beside an empty one.
  for (std::int32_t y = 1; y <= Y - 3; ++y) {
    work.At(1, y) = occupied(0, y) ? 3 : 6;
    work.At(X - 2, y) = occupied(X - 1, y) ? 3 : 6;
  }
  // 3. Second and second-last rows, the same way.
  for (std::int32_t x = 1; x <= X - 3; ++x) {
    work.At(x, 1) = occupied(x, 0) ? 3 : 6;
    work.At(x, Y - 2) = occupied(x, Y - 1) ? 3 : 6;
  }
  // 4. The inner diagonal cells.
  work.At(2, 2) = 4;
  work.At(2, Y - 3) = 4;
  work.At(X - 3, 2) = 4;
  work.At(X - 3, Y - 3) = 4;
  // 5. and 6. The edges.
  for (std::int32_t x = 0; x < X; ++x) {
    work.At(x, 0) = 2;
    work.At(x, Y - 1) = 2;
  }
  for (std::int32_t y = 0; y < Y; ++y) {
    work.At(0, y) = 2;
    work.At(X - 1, y) = 2;
  }
  // 7. The corners.
  work.At(0, 0) = 0;
  work.At(0, Y - 1) = 0;
  work.At(X - 1, 0) = 0;
  work.At(X - 1, Y - 1) = 0;
  // 8. Cells touching a corner: fine once we hold the corner, worst while it is open to the opponent.
  struct Corner {
    std::int32_t cx, cy;
    std::int32_t touching[3][2];
  };
  const Corner corners[4] = {
      {0, 0, {{0, 1}, {1, 0}, {1, 1}}},
      {0, Y - 1, {{1, Y - 1}, {0, Y - 2}, {1, Y - 2}}},
      {X - 1, 0, {{X - 2, 0}, {X - 1, 1}, {X - 2, 1}}},
      {X - 1, Y - 1, {{X - 2, Y - 1}, {X - 1, Y - 2}, {X - 2, Y - 2}}},
  };
  for (const Corner& corner : corners) {
    const std::int32_t weight = board.At(corner.cx, corner.cy) == side ? 1 : 7;
    for (const auto& cell : corner.touching) work.At(cell[0], cell[1]) = weight;
  }
}

Candidate Choose(const std::vector<Candidate>& candidates, const Grid& weights, bool late, std::mt19937& rng) {
  Candidate chosen = candidates.front();
  for (std::size_t i = 1; i < candidates.size(); ++i) {
    const Candidate& next = candidates[i];
    const std::int32_t nextWeight = weights.At(next.x, next.y);
    const std::int32_t chosenWeight = weights.At(chosen.x, chosen.y);
    bool replace = false;
    if (nextWeight < chosenWeight) {
      replace = true;
    } else if (nextWeight == chosenWeight) {
      // Quiet early (fewest flips), greedy late (most flips).
      if (next.gain != chosen.gain)
        replace = late ? next.gain > chosen.gain : next.gain < chosen.gain;
      else
        replace = rng() % 2 == 1;
    }
    if (replace) chosen = next;
  }
  return chosen;
}

std::optional<Candidate> ChooseMove(const BoardView& board, std::int32_t side, std::uint32_t seed) {
  Grid work(board);
  const std::int32_t occupied = CountOccupied(board);
  const std::vector<Candidate> candidates = FindCandidates(work.View(), side);
  if (candidates.empty()) return std::nullopt;
  std::mt19937 rng(seed);
  const bool late = IsLatePhase(occupied, board.cols, board.rows);
  BuildWeightMap(work, board, side);
  return Choose(candidates, work, late, rng);
}

}  // namespace tekum
