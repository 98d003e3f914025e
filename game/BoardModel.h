#pragma once
#include <cstdint>
#include <vector>

#include "game/Rev.h"

// The Reversi board and its rules, with no window attached: the cells (one array per column,
// cell (x, y) is FBan[x][y]), the placement list, placing, the legality test and flipping.
// Every changed cell is reported through CellChanged, in the order it changed.
//
// The F-named fields are public for code that reads a board directly (the engine tests, the
// match bench); only this class resizes the storage, so treat FBan, FKomaList, FCols, FRows and
// FKomaCount as read-only from outside. The program's own game goes through Game, which owns
// one of these privately.
class BoardModel {
 public:
  BoardModel();  // 8 x 8, empty, side 1 to move
  BoardModel(const BoardModel& other);
  BoardModel& operator=(const BoardModel& other);
  virtual ~BoardModel() = default;

  std::int32_t** FBan = nullptr;  // FCols column pointers, each to FRows cells; null once released
  _Rev* FKomaList = nullptr;      // FCols x FRows entries: every stone placed, in placing order
  std::int32_t FCols = 8;
  std::int32_t FRows = 8;
  std::int32_t FTurn = 1;       // side to move, 1 or 2
  std::int32_t FKomaCount = 0;  // entries used in FKomaList, the stones on the board

  // New empty board and zero-filled list of cols x rows (negative sizes count as 0); FTurn = 1.
  void ResizeBoard(int cols, int rows);
  // Frees the board and the list; the board is then 0 x 0 and every operation does nothing.
  void ReleaseBoard();

  // The four starting stones and side 1 to move; only on an 8 x 8 board.
  void DefaultSetKoma();
  // Puts r.value on (r.x, r.y) without rules and appends r to the placement list.
  void SetKoma(const _Rev& r);
  void SetKoma(const _Rev* r) { if (r) SetKoma(*r); }
  // Sets one cell without touching the list (a flip).
  void ChangeKoma(const _Rev& r);
  void ChangeKoma(const _Rev* r) { if (r) ChangeKoma(*r); }
  // Whether side r.value may place on (r.x, r.y).
  bool HaichiCheck(const _Rev& r) const;
  bool HaichiCheck(const _Rev* r) const { return r && HaichiCheck(*r); }
  // Places side r.value on (r.x, r.y) and flips every enclosed line; no legality test.
  // Always answers 0.
  int KomaGaeshi(const _Rev& r);
  int KomaGaeshi(const _Rev* r) { return r ? KomaGaeshi(*r) : 0; }
  // Whether side has a legal placement; the first one in column-major order goes to *first.
  bool CheckKomaPut(int side, _Rev* first = nullptr) const;

  bool Inside(int x, int y) const { return FBan && x >= 0 && x < FCols && y >= 0 && y < FRows; }
  std::int32_t Cell(int x, int y) const { return Inside(x, y) ? FBan[x][y] : 0; }
  bool Full() const { return FKomaCount >= FCols * FRows; }
  // Stones of one side on the board.
  int Count(int side) const;

 protected:
  // Called after each cell change, placed stone and flips alike, in the order they happen.
  virtual void CellChanged(int x, int y, std::int32_t value);

 private:
  void Relink();

  std::vector<std::int32_t> cells_;  // column after column
  std::vector<std::int32_t*> columns_;
  std::vector<_Rev> list_;
};

// The legality test on a bare board, for code that holds its own copy of the cells.
// columns[x][y] is cell (x, y).
bool IsLegalPlacement(const std::int32_t* const* columns, int cols, int rows, const _Rev& r);
