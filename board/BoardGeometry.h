#pragma once

// Pixel geometry of the board in a W x H control: one cell of margin split over both sides,
// integer division truncating toward zero throughout.
struct BoardGeometry {
  int cellW = 0;
  int cellH = 0;
  int halfW = 0;
  int halfH = 0;

  static BoardGeometry For(int width, int height, int cols, int rows) {
    BoardGeometry g;
    if (cols >= 0 && width > 0) g.cellW = width / (cols + 1);
    if (rows >= 0 && height > 0) g.cellH = height / (rows + 1);
    g.halfW = g.cellW / 2;
    g.halfH = g.cellH / 2;
    return g;
  }

  // The cell under the pointer. Hit areas sit 5 pixels left of and above the painted squares;
  // a cell size of 0 (a panel too small for the board) maps to no cell.
  bool CellAt(int X, int Y, int cols, int rows, int& column, int& row) const {
    if (cellW <= 0 || cellH <= 0) return false;
    column = (X - halfW + 5) / cellW;
    row = (Y - halfH + 5) / cellH;
    return column >= 0 && column < cols && row >= 0 && row < rows;
  }
};
