#pragma once
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <optional>
#include <vector>

#include "board/BoardGeometry.h"

class BoardModel;
class QPainter;

// What the board shows besides its stones: the marks and the stones turning over.
struct BoardScene {
  const BoardModel* board = nullptr;
  QColor background;                 // around the board
  std::optional<QPoint> lastMove;    // a dot on the stone last placed
  std::vector<QPoint> legal;         // a small dot on each cell where the user may play
  std::optional<QPoint> hint;        // a ring on the cell an engine suggests
  std::optional<QPoint> focus;       // the keyboard's frame
  // A stone turning over: it narrows to nothing in its old colour and widens in its new one.
  struct Turning {
    QPoint cell;
    int from = 0;
    int to = 0;
    double progress = 0;  // 0 to 1
  };
  std::vector<Turning> turning;
};

// Paints the square board: the board with its grid and the letters and numbers of its columns
// and rows, the stones (round, smoothed, at the screen's resolution) and the marks. The board
// and the stones are drawn once per size and kept, so a repaint mostly copies pictures.
class BoardPainter {
 public:
  // The whole control, of `size` pixels at `ratio` device pixels per pixel.
  void Paint(QPainter& painter, const QSize& size, double ratio, const BoardScene& scene);

 private:
  const QImage& Backdrop(const SquareGeometry& g, const QSize& device, const QColor& background);
  const QImage& Stone(int value, int cell, double ratio);

  QImage backdrop_;
  SquareGeometry backdropGeometry_;
  QColor backdropColour_;
  QImage stones_[2];
  int stoneCell_ = 0;
  double stoneRatio_ = 0;
};
