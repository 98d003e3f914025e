#pragma once
#include <algorithm>
#include <cmath>

// Pixel geometry of the classic board in a W x H control: one cell of margin split over both
// sides, integer division truncating toward zero throughout.
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

// The square board: as large as a W x H control allows with half a cell of margin all round,
// centred, its cells whole device pixels so that lines and stones fall on the screen's pixels.
// Sizes are in device pixels; ratio is device pixels per pixel of the control.
struct SquareGeometry {
  int cell = 0;  // one cell's side
  int left = 0;  // the grid's top-left corner
  int top = 0;
  int cols = 0;
  int rows = 0;
  double ratio = 1;

  static SquareGeometry For(int width, int height, double ratio, int cols, int rows) {
    SquareGeometry g;
    g.cols = cols;
    g.rows = rows;
    g.ratio = ratio > 0 ? ratio : 1;
    const int w = static_cast<int>(std::floor(width * g.ratio));
    const int h = static_cast<int>(std::floor(height * g.ratio));
    if (cols <= 0 || rows <= 0 || w <= 0 || h <= 0) return g;
    g.cell = std::min(w / (cols + 1), h / (rows + 1));
    g.left = (w - cols * g.cell) / 2;
    g.top = (h - rows * g.cell) / 2;
    return g;
  }

  // The cell under a point of the control, as drawn.
  bool CellAt(double X, double Y, int& column, int& row) const {
    if (cell <= 0) return false;
    const double dx = X * ratio - left;
    const double dy = Y * ratio - top;
    if (dx < 0 || dy < 0) return false;
    column = static_cast<int>(dx) / cell;
    row = static_cast<int>(dy) / cell;
    return column < cols && row < rows;
  }
};
