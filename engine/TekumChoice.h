#pragma once
// Tekum's move choice: one move deep, judged by the cell's weight and the move's gain.
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "contract/EngineContract.h"

namespace tekum {

// A caller's board as it arrives: columns pointers, each to rows cells.
struct BoardView {
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  EngineBoard columns = nullptr;

  bool Inside(std::int32_t x, std::int32_t y) const { return x >= 0 && x < cols && y >= 0 && y < rows; }
  std::int32_t At(std::int32_t x, std::int32_t y) const { return columns[x][y]; }
};

// Cells of our own in the board's shape: the engine's copy of the board, then its weight map.
class Grid {
 public:
  Grid(std::int32_t cols, std::int32_t rows);
  explicit Grid(const BoardView& from);
  Grid(Grid&&) = default;
  Grid& operator=(Grid&&) = default;
  Grid(const Grid&) = delete;
  Grid& operator=(const Grid&) = delete;

  std::int32_t& At(std::int32_t x, std::int32_t y) { return data_[x][y]; }
  std::int32_t At(std::int32_t x, std::int32_t y) const { return data_[x][y]; }
  BoardView View() const { return {cols_, rows_, columns_.data()}; }

 private:
  std::int32_t cols_;
  std::int32_t rows_;
  std::vector<std::vector<std::int32_t>> data_;
  std::vector<std::int32_t*> columns_;
};

// x, y and the gain; copied unchanged into the caller's move record.
struct Candidate {
  std::int32_t x;
  std::int32_t y;
  std::int32_t gain;
  bool operator==(const Candidate&) const = default;
};

std::int32_t CountOccupied(const BoardView& board);

// Empty, and some direction runs over opponent pieces into one of side's.
bool IsLegal(const BoardView& board, std::int32_t x, std::int32_t y, std::int32_t side);

// 1 for the placed piece plus every piece the move flips.
std::int32_t CountGain(const BoardView& board, std::int32_t x, std::int32_t y, std::int32_t side);

// Every legal cell with its gain, x outermost, then y.
std::vector<Candidate> FindCandidates(const BoardView& board, std::int32_t side);

// More than two-thirds full: the gain preference reverses.
std::int64_t PhaseThreshold(std::int32_t cols, std::int32_t rows);
bool IsLatePhase(std::int64_t occupied, std::int32_t cols, std::int32_t rows);

// Overwrites work (board-sized) with the cell weights, lower is better. Occupancy and corner
// owners come from board. The steps overwrite each other, so their order shapes small boards.
void BuildWeightMap(Grid& work, const BoardView& board, std::int32_t side);

// The candidate list walked in order; full ties go to a coin toss from rng. candidates is not empty.
Candidate Choose(const std::vector<Candidate>& candidates, const Grid& weights, bool late, std::mt19937& rng);

// The whole choice for side; nothing when the side has no legal move. Boards from 3 x 3 up.
std::optional<Candidate> ChooseMove(const BoardView& board, std::int32_t side, std::uint32_t seed);

}  // namespace tekum
