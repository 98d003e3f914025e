#include "screens/ReviewGraph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

namespace {
const QColor kLine(40, 70, 160);
const QColor kBlunder(220, 30, 30);
const QColor kExact(225, 238, 250);
const QColor kAxis(150, 150, 150);
constexpr int kMargin = 24;
}  // namespace

ReviewGraph::ReviewGraph(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 100);
  setAccessibleName(QStringLiteral("形勢グラフ"));
}

void ReviewGraph::SetReviews(const std::vector<std::optional<MoveReview>>& reviews) {
  reviews_ = reviews;
  // A height that holds every value, in steps of 8 discs.
  int largest = 8;
  for (const auto& r : reviews_)
    if (r) largest = std::max({largest, std::abs(r->value), std::abs(r->bestValue)});
  scale_ = std::min(64, (largest + 7) / 8 * 8);
  update();
}

void ReviewGraph::SetShown(int movesShown) {
  shown_ = movesShown;
  update();
}

QRect ReviewGraph::Plot() const { return rect().adjusted(kMargin, 8, -8, -8); }

int ReviewGraph::XOf(int n) const {
  const QRect plot = Plot();
  const int count = std::max<int>(1, static_cast<int>(reviews_.size()));
  return plot.left() + plot.width() * n / count;
}

int ReviewGraph::YOf(int value) const {
  const QRect plot = Plot();
  return plot.center().y() - plot.height() / 2 * std::clamp(value, -scale_, scale_) / scale_;
}

void ReviewGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  const QRect plot = Plot();
  QFont small = font();
  small.setPointSizeF(font().pointSizeF() * 0.85);
  painter.setFont(small);

  // The part read to the end.
  const auto firstExact =
      std::find_if(reviews_.begin(), reviews_.end(), [](const auto& r) { return r && r->exact; });
  if (firstExact != reviews_.end()) {
    const int from = XOf(static_cast<int>(firstExact - reviews_.begin()));
    const QRect exact(from, plot.top(), plot.right() - from, plot.height());
    painter.fillRect(exact, kExact);
    painter.setPen(kLine);
    painter.drawText(exact.adjusted(2, 0, -2, 0), Qt::AlignTop | Qt::AlignRight, QStringLiteral("完全読み"));
  }

  painter.setPen(kAxis);
  painter.drawLine(plot.left(), YOf(0), plot.right(), YOf(0));
  painter.drawText(QRect(0, YOf(scale_) - 8, kMargin - 3, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("+%1").arg(scale_));
  painter.drawText(QRect(0, YOf(0) - 8, kMargin - 3, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
  painter.drawText(QRect(0, YOf(-scale_) - 8, kMargin - 3, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("-%1").arg(scale_));
  painter.drawText(plot.adjusted(3, 0, 0, 0), Qt::AlignTop | Qt::AlignLeft, QStringLiteral("先行有利"));
  painter.drawText(plot.adjusted(3, 0, 0, 0), Qt::AlignBottom | Qt::AlignLeft, QStringLiteral("後攻有利"));

  // The value after each move, a line through the moves known.
  QPainterPath path;
  bool open = false;
  for (std::size_t i = 0; i < reviews_.size(); ++i) {
    if (!reviews_[i]) {
      open = false;
      continue;
    }
    const QPointF at(XOf(static_cast<int>(i) + 1), YOf(reviews_[i]->value));
    if (open)
      path.lineTo(at);
    else
      path.moveTo(at);
    open = true;
  }
  painter.setPen(QPen(kLine, 2));
  painter.drawPath(path);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBlunder);
  for (std::size_t i = 0; i < reviews_.size(); ++i)
    if (reviews_[i] && reviews_[i]->Blunder())
      painter.drawEllipse(QPointF(XOf(static_cast<int>(i) + 1), YOf(reviews_[i]->value)), 4, 4);

  painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
  painter.drawLine(XOf(shown_), plot.top(), XOf(shown_), plot.bottom());
}

void ReviewGraph::mousePressEvent(QMouseEvent* event) {
  const QRect plot = Plot();
  const int count = static_cast<int>(reviews_.size());
  if (count == 0 || plot.width() <= 0) return;
  const int x = std::clamp(static_cast<int>(event->position().x()), plot.left(), plot.right());
  // The nearest move: its line is where the board stands after it.
  emit MovesChosen(std::clamp((2 * (x - plot.left()) * count + plot.width()) / (2 * plot.width()), 0, count));
}
