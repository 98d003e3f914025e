#pragma once
// Boards in tests are pictures: one string per row (y), top row first, one character per
// column (x): '.' empty, '1' side 1, '2' side 2; any other digit stands for itself (weight maps).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using BoardPicture = std::vector<std::string>;

// A picture as the engine contract passes a board: columns pointers to rows cells.
class ContractBoard {
 public:
  explicit ContractBoard(const BoardPicture& rows)
      : cols_(rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size())),
        rows_(static_cast<std::int32_t>(rows.size())),
        cells_(static_cast<std::size_t>(cols_), std::vector<std::int32_t>(static_cast<std::size_t>(rows_))) {
    for (std::int32_t y = 0; y < rows_; ++y) {
      if (static_cast<std::int32_t>(rows[y].size()) != cols_) throw std::invalid_argument("ragged picture");
      for (std::int32_t x = 0; x < cols_; ++x) cells_[x][y] = Decode(rows[y][x]);
    }
    Link();
  }
  ContractBoard(const ContractBoard& other) : cols_(other.cols_), rows_(other.rows_), cells_(other.cells_) { Link(); }
  ContractBoard& operator=(const ContractBoard&) = delete;

  std::int32_t cols() const { return cols_; }
  std::int32_t rows() const { return rows_; }
  std::int32_t& At(std::int32_t x, std::int32_t y) { return cells_[x][y]; }
  std::int32_t At(std::int32_t x, std::int32_t y) const { return cells_[x][y]; }
  // The board's shape as the contract passes it: columns pointers to rows cells.
  std::int32_t* const* Columns() const { return columns_.data(); }
  std::int32_t** Columns() { return columns_.data(); }

  std::int32_t Occupied() const {
    std::int32_t n = 0;
    for (const auto& column : cells_)
      for (std::int32_t cell : column) n += cell != 0;
    return n;
  }

  // Fills empty cells with value, x outermost, skipping the listed cells, until count are occupied.
  void FillTo(std::int32_t count, std::int32_t value, const std::vector<std::pair<int, int>>& keepEmpty) {
    for (std::int32_t x = 0; x < cols_; ++x)
      for (std::int32_t y = 0; y < rows_ && Occupied() < count; ++y) {
        bool keep = false;
        for (const auto& [kx, ky] : keepEmpty) keep = keep || (kx == x && ky == y);
        if (!keep && cells_[x][y] == 0) cells_[x][y] = value;
      }
    if (Occupied() != count) throw std::logic_error("cannot fill to the count asked");
  }

  BoardPicture Picture() const {
    BoardPicture out(static_cast<std::size_t>(rows_), std::string(static_cast<std::size_t>(cols_), '?'));
    for (std::int32_t y = 0; y < rows_; ++y)
      for (std::int32_t x = 0; x < cols_; ++x) out[y][x] = Encode(cells_[x][y]);
    return out;
  }

 private:
  static std::int32_t Decode(char c) {
    if (c == '.') return 0;
    if (c >= '0' && c <= '9') return c - '0';
    throw std::invalid_argument(std::string("unknown cell ") + c);
  }
  static char Encode(std::int32_t v) { return v == 0 ? '.' : static_cast<char>('0' + v); }

  void Link() {
    columns_.clear();
    for (auto& column : cells_) columns_.push_back(column.data());
  }

  std::int32_t cols_;
  std::int32_t rows_;
  std::vector<std::vector<std::int32_t>> cells_;
  std::vector<std::int32_t*> columns_;
};
