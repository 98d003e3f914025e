#include "board/IReversi.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "board/BoardAccessible.h"
#include "board/BoardGeometry.h"
#include "board/StoneCursors.h"

namespace {
const QColor kBackground(192, 192, 192);
const QColor kSide1(0, 0, 255);
const QColor kSide2(255, 255, 255);
constexpr int kFrameMs = 16;
constexpr std::int32_t kLocal = static_cast<std::int32_t>(PlayerKind::Local);

QString Side(int side) { return side == 1 ? QStringLiteral("青") : QStringLiteral("白"); }
}  // namespace

TIReversi::TIReversi(const Game& game, QWidget* owner) : QWidget(owner), game_(game) {
  setMouseTracking(true);  // the cursor follows the pointer without a button held
  // The board follows the control, not the other way round: let the panel decide the size.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  setMinimumSize(1, 1);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("盤面"));
  InstallBoardAccessibility();
  frames_.setInterval(kFrameMs);
  connect(&frames_, &QTimer::timeout, this, [this] {
    if (!flips_.Running(static_cast<int>(flipClock_.elapsed()))) {
      flips_.Stop();
      frames_.stop();
    }
    update();
  });
  game_.AddListener(this);
  FitBitmap();
}

TIReversi::~TIReversi() { game_.RemoveListener(this); }

void TIReversi::SetLook(const Look& look) {
  look_ = look;
  flips_.Stop();
  if (look_.classic) {
    BanDraw();
    KomaDrawAll();
  } else {
    bitmap_ = QImage();
  }
  update();
}

void TIReversi::SetInputOpen(bool open) {
  if (inputOpen_ == open) return;
  inputOpen_ = open;
  if (!open) ShowCursor(BoardCursor::Default);
  update();
  emit InputOpenChanged();
}

void TIReversi::ShowHint(const _Rev& cell) {
  hint_ = cell;
  update();
}

// ---- Game changes ------------------------------------------------------------------------

void TIReversi::Placed(const _Rev& stone, const std::vector<_Rev>& flipped) {
  hint_.reset();
  if (look_.classic) {
    // The cells as they changed: the stone between the lines before and after it.
    KomaDraw1(stone.x, stone.y, stone.value);
    for (const _Rev& f : flipped) KomaDraw1(f.x, f.y, f.value);
  } else if (look_.animate && !flipped.empty() && isVisible()) {
    flips_.Start(stone, flipped);
    flipClock_.start();
    frames_.start();
  }
  Changed();
}

void TIReversi::Changed() {
  if (hint_ && (game_.Over() || game_.Cell(hint_->x, hint_->y) != 0 || hint_->value != game_.Turn())) hint_.reset();
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
  }
}

void TIReversi::Repainted() {
  hint_.reset();
  flips_.Stop();
  if (look_.classic) {
    BanDraw();
    KomaDrawAll();
  }
  Changed();
}

// ---- Classic drawing ---------------------------------------------------------------------

void TIReversi::FitBitmap() {
  if (bitmap_.size() == size()) return;
  if (width() <= 0 || height() <= 0) {
    bitmap_ = QImage();
    return;
  }
  QImage fitted(size(), QImage::Format_RGB32);
  fitted.fill(kBackground);
  if (!bitmap_.isNull()) {
    QPainter painter(&fitted);
    painter.drawImage(0, 0, bitmap_);
  }
  bitmap_ = std::move(fitted);
}

void TIReversi::BanDraw() {
  if (!look_.classic) {
    update();
    return;
  }
  FitBitmap();
  const int W = width();
  const int H = height();
  const BoardModel& board = game_.Board();
  const BoardGeometry g = BoardGeometry::For(W, H, board.FCols, board.FRows);
  FCellW = g.cellW;
  FCellH = g.cellH;
  if (bitmap_.isNull()) return;

  QPainter painter(&bitmap_);
  painter.fillRect(0, 0, W, H, kBackground);
  QPen frame(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(frame);
  const QPoint path[] = {{g.halfW, g.halfH}, {W - g.halfW, g.halfH}, {W - g.halfW, H - g.halfH},
                         {g.halfW, H - g.halfH}, {g.halfW, g.halfH}};
  painter.drawPolyline(path, 5);
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < board.FCols; ++i) {
    const int x = g.halfW + i * g.cellW;
    painter.drawLine(x, g.halfH, x, H - g.halfH);
  }
  for (int j = 0; j < board.FRows; ++j) {
    const int y = g.halfH + j * g.cellH;
    painter.drawLine(g.halfW, y, W - g.halfW, y);
  }
  update();
}

void TIReversi::KomaDraw1(int x, int y, int value) {
  if (!look_.classic) {
    update();
    return;
  }
  FitBitmap();
  const BoardModel& board = game_.Board();
  const BoardGeometry g = BoardGeometry::For(width(), height(), board.FCols, board.FRows);
  FCellW = g.cellW;
  FCellH = g.cellH;
  QColor fill;
  if (value == 1)
    fill = kSide1;
  else if (value == 2)
    fill = kSide2;
  else
    return;  // an empty cell is never erased here; a full repaint starts from BanDraw
  if (bitmap_.isNull() || g.cellW <= 0 || g.cellH <= 0) return;

  QPainter painter(&bitmap_);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(fill);
  // The box's right and bottom edges belong to the next cell, as with the grid.
  painter.drawEllipse(QRect(g.halfW + x * g.cellW, g.halfH + y * g.cellH, g.cellW - 1, g.cellH - 1));
  update();
}

void TIReversi::KomaDrawAll() {
  const BoardModel& board = game_.Board();
  for (int x = 0; x < board.FCols && board.FBan; ++x)
    for (int y = 0; y < board.FRows; ++y) KomaDraw1(x, y, board.FBan[x][y]);
}

// ---- Painting ----------------------------------------------------------------------------

void TIReversi::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (look_.classic) {
    BanDraw();
    KomaDrawAll();
  }
}

BoardScene TIReversi::Scene() const {
  BoardScene scene;
  scene.board = &game_.Board();
  scene.background = palette().color(QPalette::Window);
  if (hasFocus()) scene.focus = focus_;
  if (hint_) scene.hint = QPoint(hint_->x, hint_->y);
  if (look_.lastMove)
    if (const std::optional<_Rev> last = game_.LastPlacement()) scene.lastMove = QPoint(last->x, last->y);
  if (look_.legalMoves) {
    const BoardModel& board = game_.Board();
    for (int x = 0; x < board.FCols; ++x)
      for (int y = 0; y < board.FRows; ++y)
        if (Playable(x, y)) scene.legal.emplace_back(x, y);
  }
  if (frames_.isActive()) scene.turning = flips_.At(static_cast<int>(flipClock_.elapsed()));
  return scene;
}

void TIReversi::PaintBoard(QPainter& painter, double ratio) {
  if (look_.classic) {
    painter.drawImage(0, 0, bitmap_);
    // Only what the keyboard and an asked-for hint need, over the design's drawing.
    for (const std::optional<QPoint>& cell : {hasFocus() ? std::optional<QPoint>(focus_) : std::nullopt,
                                              hint_ ? std::optional<QPoint>(QPoint(hint_->x, hint_->y)) : std::nullopt}) {
      if (!cell) continue;
      painter.setPen(QPen(cell == focus_ && hasFocus() ? QColor(255, 214, 0) : QColor(255, 150, 0), 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(CellRect(cell->x(), cell->y()).adjusted(1, 1, -2, -2));
    }
    return;
  }
  painter_.Paint(painter, size(), ratio, Scene());
}

void TIReversi::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintBoard(painter, devicePixelRatioF());
}

QRect TIReversi::CellRect(int x, int y) const {
  const BoardModel& board = game_.Board();
  if (look_.classic) {
    if (FCellW <= 0 || FCellH <= 0) return {};
    return QRect(FCellW / 2 + x * FCellW, FCellH / 2 + y * FCellH, FCellW, FCellH);
  }
  const SquareGeometry g = SquareGeometry::For(width(), height(), devicePixelRatioF(), board.FCols, board.FRows);
  if (g.cell <= 0) return {};
  const QRectF device(g.left + x * g.cell, g.top + y * g.cell, g.cell, g.cell);
  const double r = g.ratio;
  return QRectF(device.left() / r, device.top() / r, device.width() / r, device.height() / r).toAlignedRect();
}

// ---- Mouse -------------------------------------------------------------------------------

bool TIReversi::CellAtPointer(int X, int Y, int& column, int& row) const {
  const BoardModel& board = game_.Board();
  bool on = false;
  if (look_.classic) {
    BoardGeometry g;
    g.cellW = FCellW;
    g.cellH = FCellH;
    g.halfW = FCellW / 2;
    g.halfH = FCellH / 2;
    on = g.CellAt(X, Y, board.FCols, board.FRows, column, row);
  } else {
    on = SquareGeometry::For(width(), height(), devicePixelRatioF(), board.FCols, board.FRows).CellAt(X, Y, column, row);
  }
  return on && board.Inside(column, row);
}

void TIReversi::ShowCursor(BoardCursor cursor) {
  cursor_ = cursor;
  switch (cursor) {
    case BoardCursor::Kuro: setCursor(StoneCursor(1)); break;
    case BoardCursor::Shiro: setCursor(StoneCursor(2)); break;
    case BoardCursor::No: setCursor(NoCursor()); break;
    case BoardCursor::Default: unsetCursor(); break;
  }
}

void TIReversi::BanMouseMove(QObject*, Qt::KeyboardModifiers, int X, int Y) {
  if (!inputOpen_) return;  // while another side is to move the board takes no pointer
  int column = 0;
  int row = 0;
  if (!CellAtPointer(X, Y, column, row)) {
    ShowCursor(BoardCursor::No);
    return;
  }
  const int turn = game_.Turn();
  if (game_.Board().HaichiCheck(_Rev{column, row, turn}))
    ShowCursor(turn == 1 ? BoardCursor::Kuro : BoardCursor::Shiro);
  else
    ShowCursor(BoardCursor::No);
}

void TIReversi::BanMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
  if (!inputOpen_) return;
  int column = 0;
  int row = 0;
  if (!CellAtPointer(X, Y, column, row)) {
    ShowCursor(BoardCursor::No);
    return;
  }
  if (cursor_ == BoardCursor::No) return;  // the last move found no placement here
  const _Rev move{column, row, game_.Turn()};
  if (!game_.IsLegal(move)) return;  // filled since the pointer last moved
  focus_ = QPoint(column, row);
  if (OnMove) OnMove(move);
}

void TIReversi::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  BanMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TIReversi::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint at = event->position().toPoint();
  BanMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

// ---- Keyboard ----------------------------------------------------------------------------

void TIReversi::MoveFocus(int dx, int dy) {
  const BoardModel& board = game_.Board();
  focus_ = QPoint(std::clamp(focus_.x() + dx, 0, std::max(0, board.FCols - 1)),
                  std::clamp(focus_.y() + dy, 0, std::max(0, board.FRows - 1)));
  update();
  TellFocus();
}

void TIReversi::TellFocus() {
  if (!QAccessible::isActive() || !hasFocus()) return;
  QAccessibleEvent event(this, QAccessible::Focus);
  event.setChild(focus_.x() + focus_.y() * game_.Board().FCols);
  QAccessible::updateAccessibility(&event);
}

void TIReversi::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: MoveFocus(-1, 0); break;
    case Qt::Key_Right: MoveFocus(1, 0); break;
    case Qt::Key_Up: MoveFocus(0, -1); break;
    case Qt::Key_Down: MoveFocus(0, 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (Playable(focus_.x(), focus_.y()) && OnMove) OnMove(_Rev{focus_.x(), focus_.y(), game_.Turn()});
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TIReversi::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  TellFocus();
}

void TIReversi::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

// ---- What a screen reader is told -------------------------------------------------------

bool TIReversi::Playable(int x, int y) const {
  return inputOpen_ && game_.Who(game_.Turn()) == kLocal && game_.IsLegal(_Rev{x, y, game_.Turn()});
}

QString TIReversi::StateText() const {
  const BoardModel& board = game_.Board();
  const QString counts = QStringLiteral("青 %1　白 %2").arg(board.Count(1)).arg(board.Count(2));
  const QString state = game_.Over() ? QStringLiteral("終局") : Side(game_.Turn()) + QStringLiteral("の番");
  return state + QStringLiteral("　") + counts;
}

QString TIReversi::CellText(int x, int y) const {
  const int value = game_.Cell(x, y);
  if (value == 1 || value == 2) return Side(value);
  return Playable(x, y) ? QStringLiteral("空き（置ける）") : QStringLiteral("空き");
}
