#include "board/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <mutex>
#include <vector>

#include "board/IReversi.h"
#include "game/CellName.h"

namespace {

class BoardInterface;

// One cell: no object of its own, everything is asked of the board.
class CellInterface : public QAccessibleInterface {
 public:
  CellInterface(BoardInterface* board, int x, int y) : board_(board), x_(x), y_(y) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override;

 private:
  BoardInterface* board_;
  int x_;
  int y_;
};

class BoardInterface : public QAccessibleWidget {
 public:
  explicit BoardInterface(TIReversi* board) : QAccessibleWidget(board, QAccessible::Table, QStringLiteral("盤面")) {}
  ~BoardInterface() override {
    for (const QAccessible::Id id : cells_) QAccessible::deleteAccessibleInterface(id);
  }

  TIReversi* Board() const { return static_cast<TIReversi*>(widget()); }
  int Columns() const { return Board()->Shown().Board().FCols; }
  int Rows() const { return Board()->Shown().Board().FRows; }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QStringLiteral("盤面");
    if (t == QAccessible::Description) return Board()->StateText();
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return Columns() * Rows(); }
  // Row after row, as a table is read: a1, b1, ..., h1, a2, ...
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (cells_.size() != static_cast<std::size_t>(childCount())) {
      for (const QAccessible::Id id : cells_) QAccessible::deleteAccessibleInterface(id);
      cells_.clear();
      for (int i = 0; i < childCount(); ++i)
        cells_.push_back(QAccessible::registerAccessibleInterface(
            new CellInterface(const_cast<BoardInterface*>(this), i % Columns(), i / Columns())));
    }
    return QAccessible::accessibleInterface(cells_[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < static_cast<int>(cells_.size()); ++i)
      if (QAccessible::accessibleInterface(cells_[static_cast<std::size_t>(i)]) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (QAccessibleInterface* cell = child(i); cell && cell->rect().contains(x, y)) return cell;
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    if (!Board()->hasFocus()) return nullptr;
    const QPoint at = Board()->FocusCell();
    return child(at.x() + at.y() * Columns());
  }

 private:
  mutable std::vector<QAccessible::Id> cells_;
};

bool CellInterface::isValid() const { return board_ && board_->isValid(); }
QWindow* CellInterface::window() const { return board_->window(); }
QAccessibleInterface* CellInterface::parent() const { return board_; }

QString CellInterface::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return QString::fromStdString(CellName(x_, y_, board_->Columns(), board_->Rows()));
  if (t == QAccessible::Description) return board_->Board()->CellText(x_, y_);
  return {};
}

QRect CellInterface::rect() const {
  TIReversi* board = board_->Board();
  const QRect local = board->CellRect(x_, y_);
  return QRect(board->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State CellInterface::state() const {
  QAccessible::State s;
  TIReversi* board = board_->Board();
  s.focusable = true;
  s.focused = board->hasFocus() && board->FocusCell() == QPoint(x_, y_);
  return s;
}

QAccessibleInterface* MakeBoardInterface(const QString& className, QObject* object) {
  if (className == QLatin1String("TIReversi") && object && object->isWidgetType())
    return new BoardInterface(static_cast<TIReversi*>(object));
  return nullptr;
}

}  // namespace

void InstallBoardAccessibility() {
  static std::once_flag installed;
  std::call_once(installed, [] { QAccessible::installFactory(MakeBoardInterface); });
}
