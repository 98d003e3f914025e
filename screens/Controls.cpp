#include "screens/Controls.h"

#include <QLabel>
#include <QPushButton>

QLabel* MakeLabel(const QString& caption, QWidget* parent, const QRect& rect, Qt::Alignment horizontal) {
  auto* label = new QLabel(caption, parent);
  label->setGeometry(rect);
  label->setAlignment(horizontal | Qt::AlignVCenter);
  return label;
}

QPushButton* MakeButton(const QString& caption, const QString& hint, QWidget* parent, const QRect& rect) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(rect);
  button->setToolTip(hint);
  button->setAutoDefault(false);
  return button;
}

void ChainTabOrder(std::initializer_list<QWidget*> order) {
  QWidget* previous = nullptr;
  for (QWidget* widget : order) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}
