#pragma once
#include <QWidget>

// A side's stone and its count, shown beside the player's name.
class TPlayerScore : public QWidget {
 public:
  TPlayerScore(int side, QWidget* parent = nullptr);
  void SetCount(int count);
  int Count() const { return count_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int side_;
  int count_ = 0;
};
