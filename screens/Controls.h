#pragma once
#include <QRect>
#include <QString>
#include <Qt>

#include <initializer_list>

class QLabel;
class QPushButton;
class QWidget;

// The windows' plain controls, made at their design places.

// A caption, vertically centred; horizontally as `horizontal` says.
QLabel* MakeLabel(const QString& caption, QWidget* parent, const QRect& rect, Qt::Alignment horizontal = Qt::AlignLeft);

// A button with its hint; it never turns into its window's default button.
QPushButton* MakeButton(const QString& caption, const QString& hint, QWidget* parent, const QRect& rect);

// Tab goes through the controls in this order.
void ChainTabOrder(std::initializer_list<QWidget*> order);
