#include "screens/PlayerScore.h"

#include <QPainter>

TPlayerScore::TPlayerScore(int side, QWidget* parent) : QWidget(parent), side_(side) {
  setAccessibleName(side == 1 ? QStringLiteral("青の石数") : QStringLiteral("白の石数"));
}

void TPlayerScore::SetCount(int count) {
  if (count == count_) return;
  count_ = count;
  setAccessibleDescription(QString::number(count));
  update();
}

QSize TPlayerScore::sizeHint() const { return {40, 18}; }

void TPlayerScore::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int d = std::min(height() - 4, 13);
  const QRectF stone(2, (height() - d) / 2.0, d, d);
  painter.setPen(QPen(side_ == 1 ? QColor(8, 26, 110) : QColor(88, 94, 106), 1));
  painter.setBrush(side_ == 1 ? QColor(30, 70, 220) : QColor(250, 250, 250));
  painter.drawEllipse(stone);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRectF(stone.right() + 4, 0, width() - stone.right() - 4, height()), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::number(count_));
}
