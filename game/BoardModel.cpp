#include "game/BoardModel.h"

#include <algorithm>

namespace {

// One enclosed line: its direction and how many opponent stones it holds.
struct Line {
  int dx;
  int dy;
  int length;
};

// The eight directions in the order every walk takes them: dx outer, dy inner, -1 to +1, with
// the cell itself (0, 0) between (0, -1) and (0, +1).
constexpr int kSteps[3] = {-1, 0, 1};
constexpr int kLinesBeforeTheStone = 4;  // (-1,-1), (-1,0), (-1,+1), (0,-1)

// The one walk of the lines from (r.x, r.y) for side r.value: every direction whose run of
// opponent stones ends in one of the side's own. Legality needs only the first line found
// (firstOnly); placing needs them all. cell(x, y) answers -1 outside the board.
template <typename CellFn>
int EnclosedLines(const CellFn& cell, const _Rev& r, bool firstOnly, Line* lines) {
  int found = 0;
  for (int dx : kSteps) {
    for (int dy : kSteps) {
      if (dx == 0 && dy == 0) continue;
      int length = 0;
      int x = r.x + dx;
      int y = r.y + dy;
      for (int v = cell(x, y); v > 0 && v != r.value; v = cell(x, y)) {
        ++length;
        x += dx;
        y += dy;
      }
      if (length == 0 || cell(x, y) != r.value) continue;
      if (lines) lines[found] = Line{dx, dy, length};
      ++found;
      if (firstOnly) return found;
    }
  }
  return found;
}

// The direction's place in the walk's order, the stone's own place being 4.
int ScanIndex(int dx, int dy) { return (dx + 1) * 3 + (dy + 1); }

bool InsideOf(int cols, int rows, int x, int y) { return x >= 0 && x < cols && y >= 0 && y < rows; }

}  // namespace

bool IsLegalPlacement(const std::int32_t* const* columns, int cols, int rows, const _Rev& r) {
  if (!columns || !InsideOf(cols, rows, r.x, r.y) || columns[r.x][r.y] != 0) return false;
  const auto cell = [&](int x, int y) { return InsideOf(cols, rows, x, y) ? columns[x][y] : -1; };
  return EnclosedLines(cell, r, true, nullptr) > 0;
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
  Line lines[8];
  const auto cell = [this](int x, int y) { return Inside(x, y) ? FBan[x][y] : -1; };
  const int count = EnclosedLines(cell, r, false, lines);
  // The stone goes down between the lines before it in the walk's order and those after it;
  // each line flips from the stone outwards.
  bool placed = false;
  for (int i = 0; i < count; ++i) {
    if (!placed && ScanIndex(lines[i].dx, lines[i].dy) > kLinesBeforeTheStone) {
      SetKoma(r);
      placed = true;
    }
    for (int step = 1; step <= lines[i].length; ++step)
      ChangeKoma(_Rev{r.x + step * lines[i].dx, r.y + step * lines[i].dy, r.value});
  }
  if (!placed) SetKoma(r);
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

int BoardModel::Count(int side) const {
  return static_cast<int>(std::count(cells_.begin(), cells_.end(), side));
}

void BoardModel::CellChanged(int, int, std::int32_t) {}
