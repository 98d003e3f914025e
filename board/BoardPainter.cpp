#include "board/BoardPainter.h"

#include <QFont>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "game/BoardModel.h"

namespace {

const QColor kFrame(52, 58, 70);
const QColor kBoard(150, 160, 172);
const QColor kLine(72, 80, 94);
const QColor kLabel(214, 220, 228);
const QColor kLastMove(232, 44, 44);
const QColor kLegal(20, 24, 32, 120);
const QColor kHint(255, 150, 0);
const QColor kFocus(255, 214, 0);

struct StoneColours {
  QColor light;
  QColor dark;
  QColor outline;
};
const StoneColours kStoneColours[2] = {
    {QColor(110, 150, 255), QColor(16, 52, 205), QColor(8, 26, 110)},
    {QColor(255, 255, 255), QColor(200, 205, 214), QColor(88, 94, 106)},
};

// Device pixels of a pen one pixel of the control wide.
double Hairline(double ratio) { return std::max(1.0, std::round(ratio)); }

QRectF CellBox(const SquareGeometry& g, const QPoint& cell) {
  return QRectF(g.left + cell.x() * g.cell, g.top + cell.y() * g.cell, g.cell, g.cell);
}

void Dot(QPainter& painter, const QRectF& box, double radius, const QColor& colour) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(box.center(), radius, radius);
}

}  // namespace

const QImage& BoardPainter::Stone(int value, int cell, double ratio) {
  if (stoneCell_ != cell || stoneRatio_ != ratio) {
    stoneCell_ = cell;
    stoneRatio_ = ratio;
    for (int i = 0; i < 2; ++i) {
      QImage stone(cell, cell, QImage::Format_ARGB32_Premultiplied);
      stone.fill(Qt::transparent);
      QPainter p(&stone);
      p.setRenderHint(QPainter::Antialiasing);
      const double r = cell * 0.42;
      const QPointF centre(cell / 2.0, cell / 2.0);
      QRadialGradient shade(centre - QPointF(r / 3, r / 3), r * 1.3);
      shade.setColorAt(0, kStoneColours[i].light);
      shade.setColorAt(1, kStoneColours[i].dark);
      p.setPen(QPen(kStoneColours[i].outline, Hairline(ratio)));
      p.setBrush(shade);
      p.drawEllipse(centre, r, r);
      stones_[i] = std::move(stone);
    }
  }
  return stones_[value == 2 ? 1 : 0];
}

const QImage& BoardPainter::Backdrop(const SquareGeometry& g, const QSize& device, const QColor& background) {
  if (backdrop_.size() == device && backdropGeometry_.cell == g.cell && backdropGeometry_.left == g.left &&
      backdropGeometry_.top == g.top && backdropColour_ == background)
    return backdrop_;
  backdropGeometry_ = g;
  backdropColour_ = background;
  backdrop_ = QImage(device, QImage::Format_RGB32);
  backdrop_.fill(background);
  if (g.cell <= 0) return backdrop_;
  QPainter p(&backdrop_);
  p.setRenderHint(QPainter::Antialiasing);
  const int margin = g.cell / 2;
  const QRectF grid(g.left, g.top, g.cols * g.cell, g.rows * g.cell);
  p.setPen(Qt::NoPen);
  p.setBrush(kFrame);
  p.drawRoundedRect(grid.adjusted(-margin, -margin, margin, margin), margin / 3.0, margin / 3.0);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(grid, kBoard);
  const double line = Hairline(g.ratio);
  for (int i = 0; i <= g.cols; ++i) p.fillRect(QRectF(g.left + i * g.cell - line / 2, g.top, line, grid.height()), kLine);
  for (int j = 0; j <= g.rows; ++j) p.fillRect(QRectF(g.left, g.top + j * g.cell - line / 2, grid.width(), line), kLine);
  // The columns' letters and the rows' numbers, as the cells are named.
  if (margin >= 8) {
    QFont font;
    font.setPixelSize(std::max(6, margin * 3 / 4));
    p.setFont(font);
    p.setPen(kLabel);
    for (int i = 0; i < g.cols; ++i) {
      const QRectF above(g.left + i * g.cell, g.top - margin, g.cell, margin);
      p.drawText(above, Qt::AlignCenter, QString(QChar('a' + i)));
    }
    for (int j = 0; j < g.rows; ++j) {
      const QRectF before(g.left - margin, g.top + j * g.cell, margin, g.cell);
      p.drawText(before, Qt::AlignCenter, QString::number(j + 1));
    }
  }
  return backdrop_;
}

void BoardPainter::Paint(QPainter& painter, const QSize& size, double ratio, const BoardScene& scene) {
  const BoardModel* board = scene.board;
  const int cols = board ? board->FCols : 8;
  const int rows = board ? board->FRows : 8;
  const SquareGeometry g = SquareGeometry::For(size.width(), size.height(), ratio, cols, rows);
  const QSize device(static_cast<int>(std::floor(size.width() * ratio)), static_cast<int>(std::floor(size.height() * ratio)));
  if (device.isEmpty()) return;
  painter.save();
  // Everything below is in device pixels, so the pictures are copied pixel for pixel.
  painter.scale(1 / ratio, 1 / ratio);
  painter.drawImage(0, 0, Backdrop(g, device, scene.background));
  if (g.cell <= 0 || !board || !board->FBan) {
    painter.restore();
    return;
  }
  std::vector<bool> turning(static_cast<std::size_t>(cols * rows), false);
  for (const BoardScene::Turning& t : scene.turning)
    if (board->Inside(t.cell.x(), t.cell.y())) turning[static_cast<std::size_t>(t.cell.x() * rows + t.cell.y())] = true;
  for (int x = 0; x < cols; ++x)
    for (int y = 0; y < rows; ++y) {
      const int value = board->FBan[x][y];
      if ((value == 1 || value == 2) && !turning[static_cast<std::size_t>(x * rows + y)])
        painter.drawImage(QPointF(g.left + x * g.cell, g.top + y * g.cell), Stone(value, g.cell, ratio));
    }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const BoardScene::Turning& t : scene.turning) {
    const double p = std::clamp(t.progress, 0.0, 1.0);
    const double width = g.cell * std::abs(std::cos(p * M_PI));
    const QRectF box = CellBox(g, t.cell);
    const QRectF narrowed(box.center().x() - width / 2, box.top(), width, box.height());
    painter.drawImage(narrowed, Stone(p < 0.5 ? t.from : t.to, g.cell, ratio));
  }
  const double dot = std::max(1.5 * ratio, g.cell * 0.08);
  for (const QPoint& cell : scene.legal) Dot(painter, CellBox(g, cell), dot, kLegal);
  if (scene.lastMove) Dot(painter, CellBox(g, *scene.lastMove), dot, kLastMove);
  if (scene.hint) {
    painter.setPen(QPen(kHint, std::max(2 * ratio, g.cell * 0.07)));
    painter.setBrush(Qt::NoBrush);
    const QRectF box = CellBox(g, *scene.hint);
    painter.drawEllipse(box.center(), g.cell * 0.36, g.cell * 0.36);
  }
  if (scene.focus) {
    const double width = std::max(2 * ratio, g.cell * 0.06);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kFocus, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(CellBox(g, *scene.focus).adjusted(width / 2 + 1, width / 2 + 1, -width / 2 - 1, -width / 2 - 1));
  }
  painter.restore();
}
