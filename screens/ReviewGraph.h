#pragma once
#include <QWidget>

#include <optional>
#include <vector>

#include "screens/KifuTexts.h"

// The review as a plot: the value of each move played for 先行 (up is good for 先行, down for
// 後攻), a red mark on every 悪手, the part that was read to the end shaded and labelled
// 「完全読み」, and a line at the position the board shows. A click picks the move under it.
class ReviewGraph : public QWidget {
  Q_OBJECT

 public:
  explicit ReviewGraph(QWidget* parent = nullptr);

  // reviews[i] is move i + 1's, or nothing while it is not known.
  void SetReviews(const std::vector<std::optional<MoveReview>>& reviews);
  void SetShown(int movesShown);

  // Where move n (1 for the first) is drawn, and the value's height, for a value in discs.
  int XOf(int n) const;
  int YOf(int value) const;
  int Scale() const { return scale_; }  // the largest value the height shows, in discs

  QSize sizeHint() const override { return {360, 140}; }

 signals:
  void MovesChosen(int movesShown);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QRect Plot() const;

  std::vector<std::optional<MoveReview>> reviews_;
  int shown_ = 0;
  int scale_ = 16;
};
