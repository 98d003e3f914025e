#include "board/BoardModel.h"

#include <algorithm>

namespace {
// Neighbour order shared by the legality test and flipping: dx outer, dy inner, -1 to +1.
constexpr int kSteps[3] = {-1, 0, 1};

bool InsideOf(int cols, int rows, int x, int y) { return x >= 0 && x < cols && y >= 0 && y < rows; }
}  // namespace

bool IsLegalPlacement(const std::int32_t* const* columns, int cols, int rows, const _Rev& r) {
  if (!columns || !InsideOf(cols, rows, r.x, r.y)) return false;
  if (columns[r.x][r.y] != 0) return false;
  for (int dx : kSteps) {
    for (int dy : kSteps) {
      if (dx == 0 && dy == 0) continue;
      int x = r.x + dx;
      int y = r.y + dy;
      if (!InsideOf(cols, rows, x, y) || columns[x][y] == 0 || columns[x][y] == r.value) continue;
      x += dx;
      y += dy;
      while (InsideOf(cols, rows, x, y) && columns[x][y] != 0) {
        if (columns[x][y] == r.value) return true;
        x += dx;
        y += dy;
      }
    }
  }
  return false;
}

BoardModel::BoardModel() { ResizeBoard(8, 8); }

BoardModel::BoardModel(const BoardModel& other)
    : FCols(other.FCols),
      FRows(other.FRows),
      FTurn(other.FTurn),
      FKomaCount(other.FKomaCount),
      cells_(other.cells_),
      list_(other.list_) {
  if (other.FBan) Relink();
}

BoardModel& BoardModel::operator=(const BoardModel& other) {
  if (this == &other) return *this;
  FCols = other.FCols;
  FRows = other.FRows;
  FTurn = other.FTurn;
  FKomaCount = other.FKomaCount;
  cells_ = other.cells_;
  list_ = other.list_;
  columns_.clear();
  FBan = nullptr;
  FKomaList = nullptr;
  if (other.FBan) Relink();
  return *this;
}

void BoardModel::Relink() {
  columns_.resize(static_cast<std::size_t>(FCols));
  for (int x = 0; x < FCols; ++x) columns_[static_cast<std::size_t>(x)] = cells_.data() + static_cast<std::size_t>(x) * FRows;
  FBan = columns_.data();
  FKomaList = list_.data();
}

void BoardModel::ResizeBoard(int cols, int rows) {
  FCols = std::max(cols, 0);
  FRows = std::max(rows, 0);
  const auto count = static_cast<std::size_t>(FCols) * static_cast<std::size_t>(FRows);
  cells_.assign(count, 0);
  list_.assign(count, _Rev{0, 0, 0});
  FTurn = 1;
  FKomaCount = 0;
  Relink();
}

void BoardModel::ReleaseBoard() {
  cells_ = {};
  columns_ = {};
  list_ = {};
  FBan = nullptr;
  FKomaList = nullptr;
  FCols = 0;
  FRows = 0;
  FKomaCount = 0;
}

void BoardModel::DefaultSetKoma() {
  if (FCols != 8 || FRows != 8 || !FBan) return;
  SetKoma(_Rev{3, 3, 2});
  SetKoma(_Rev{4, 3, 1});
  SetKoma(_Rev{3, 4, 1});
  SetKoma(_Rev{4, 4, 2});
  FTurn = 1;
}

void BoardModel::SetKoma(const _Rev& r) {
  // The list has one entry per cell, so a caller that places on a filled cell cannot overrun it.
  if (!Inside(r.x, r.y) || FKomaCount >= FCols * FRows) return;
  FKomaList[FKomaCount] = r;
  FBan[r.x][r.y] = r.value;
  ++FKomaCount;
  CellChanged(r.x, r.y, r.value);
}

void BoardModel::ChangeKoma(const _Rev& r) {
  if (!Inside(r.x, r.y)) return;
  FBan[r.x][r.y] = r.value;
  CellChanged(r.x, r.y, r.value);
}

bool BoardModel::HaichiCheck(const _Rev& r) const { return IsLegalPlacement(FBan, FCols, FRows, r); }

int BoardModel::KomaGaeshi(const _Rev& r) {
  // Only a side can move; any other value (from a broken engine or peer) would wipe stones out.
  if (r.value != 1 && r.value != 2) return 0;
  if (!Inside(r.x, r.y) || FBan[r.x][r.y] != 0) return 0;
  for (int dx : kSteps) {
    for (int dy : kSteps) {
      if (dx == 0 && dy == 0) {
        SetKoma(r);
        continue;
      }
      const int nx = r.x + dx;
      const int ny = r.y + dy;
      if (!Inside(nx, ny) || FBan[nx][ny] == 0 || FBan[nx][ny] == r.value) continue;
      int x = nx;
      int y = ny;
      while (Inside(x, y) && FBan[x][y] != 0 && FBan[x][y] != r.value) {
        x += dx;
        y += dy;
      }
      if (!Inside(x, y) || FBan[x][y] != r.value) continue;
      for (int fx = nx, fy = ny; fx != x || fy != y; fx += dx, fy += dy) ChangeKoma(_Rev{fx, fy, r.value});
    }
  }
  return 0;
}

bool BoardModel::CheckKomaPut(int side, _Rev* first) const {
  for (int x = 0; x < FCols; ++x) {
    for (int y = 0; y < FRows; ++y) {
      if (FBan[x][y] != 0) continue;
      const _Rev r{x, y, side};
      if (HaichiCheck(r)) {
        if (first) *first = r;
        return true;
      }
    }
  }
  return false;
}

void BoardModel::CellChanged(int, int, std::int32_t) {}
