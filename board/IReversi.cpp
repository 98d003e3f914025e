#include "board/IReversi.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cstring>

#include "board/BoardGeometry.h"
#include "board/StoneCursors.h"
#include "platform/Dialogs.h"

namespace {
const QColor kBackground(192, 192, 192);
const QColor kSide1(0, 0, 255);
const QColor kSide2(255, 255, 255);
constexpr int kEnginePauseMs = 100;

QString SideName(int side) { return side == 1 ? QStringLiteral("青") : QStringLiteral("白"); }
int OtherSide(int side) { return side == 1 ? 2 : 1; }
void Increment(std::int32_t* counter) {
  if (counter) ++*counter;
}
void Decrement(std::int32_t* counter) {
  if (counter && *counter > 0) --*counter;
}
}  // namespace

TIReversi::TIReversi(QWidget* owner) : QLabel(owner) {
  setMouseTracking(true);  // the cursor follows the pointer without a button held
  // The bitmap follows the control, not the other way round: let the panel decide the size.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  setMinimumSize(1, 1);
  FitBitmap();
}

TIReversi::~TIReversi() = default;

void TIReversi::SetBanSize(int cols, int rows) {
  CancelEngine();
  ResizeBoard(cols, rows);
  FGameEnd = 0;
  gameOver_ = false;
  awaitingEcho_ = false;
  ++turnGeneration_;
  const BoardGeometry g = BoardGeometry::For(width(), height(), FCols, FRows);
  FCellW = g.cellW;
  FCellH = g.cellH;
}

void TIReversi::ClearBanSize() {
  CancelEngine();
  ReleaseBoard();
  ++turnGeneration_;  // an engine request still pausing has no board left to ask about
}

void TIReversi::CancelEngine() {
  if (OnEngineCancel) OnEngineCancel();
}

void TIReversi::NewBoard() {
  SetBanSize(8, 8);
  DefaultSetKoma();
  BanDraw();
  KomaDrawAll();
}

void TIReversi::SetWho(QPoint p) {
  FWho1 = p.x();
  FWho2 = p.y();
  constexpr auto local = static_cast<int>(PlayerKind::Local);
  countedGame_[0] = countedGame_[1] = nullptr;
  if (p.x() == local || p.y() == local) {
    Increment(SouNum);
    countedGame_[0] = SouNum;
    if (FNetPlay) {
      Increment(NetNum);
      countedGame_[1] = NetNum;
    }
  }
}

// ---- Drawing ------------------------------------------------------------------------------

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
  FitBitmap();
  const int W = width();
  const int H = height();
  const BoardGeometry g = BoardGeometry::For(W, H, FCols, FRows);
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
  for (int i = 0; i < FCols; ++i) {
    const int x = g.halfW + i * g.cellW;
    painter.drawLine(x, g.halfH, x, H - g.halfH);
  }
  for (int j = 0; j < FRows; ++j) {
    const int y = g.halfH + j * g.cellH;
    painter.drawLine(g.halfW, y, W - g.halfW, y);
  }
  update();
}

void TIReversi::KomaDraw1(int x, int y, int value) {
  FitBitmap();
  const BoardGeometry g = BoardGeometry::For(width(), height(), FCols, FRows);
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
  for (int x = 0; x < FCols && FBan; ++x)
    for (int y = 0; y < FRows; ++y) KomaDraw1(x, y, FBan[x][y]);
}

void TIReversi::CellChanged(int x, int y, std::int32_t value) { KomaDraw1(x, y, value); }

void TIReversi::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, bitmap_);
}

// ---- Mouse --------------------------------------------------------------------------------

bool TIReversi::CellAtPointer(int X, int Y, int& column, int& row) const {
  BoardGeometry g;
  g.cellW = FCellW;
  g.cellH = FCellH;
  g.halfW = FCellW / 2;
  g.halfH = FCellH / 2;
  return g.CellAt(X, Y, FCols, FRows, column, row) && Inside(column, row);
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
  int column = 0;
  int row = 0;
  if (!CellAtPointer(X, Y, column, row)) {
    ShowCursor(BoardCursor::No);
    return;
  }
  if (HaichiCheck(_Rev{column, row, FTurn}))
    ShowCursor(FTurn == 1 ? BoardCursor::Kuro : BoardCursor::Shiro);
  else
    ShowCursor(BoardCursor::No);
}

void TIReversi::BanMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
  int column = 0;
  int row = 0;
  if (!CellAtPointer(X, Y, column, row)) {
    ShowCursor(BoardCursor::No);
    return;
  }
  if (cursor_ == BoardCursor::No) return;  // the last move found no placement here
  const _Rev move{column, row, FTurn};
  if (!HaichiCheck(move)) return;  // filled since the pointer last moved
  if (FNetPlay) {
    // Only the side this machine plays: a guest's board is still enabled before its first turn.
    if (KindOfSide(FTurn) != static_cast<int>(PlayerKind::Local)) return;
    if (awaitingEcho_) return;  // one move on the wire at a time
    SendMove(move);
    return;
  }
  MoveStep(move);
}

void TIReversi::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  BanMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TIReversi::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  BanMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

// ---- Turn flow ----------------------------------------------------------------------------

std::int32_t TIReversi::KindOfSide(int side) const { return side == 1 ? FWho1 : side == 2 ? FWho2 : 0; }

void TIReversi::MoveStep(const _Rev& r) {
  if (gameOver_) return;  // a move arriving after the end would count the result twice
  ++turnGeneration_;
  KomaGaeshi(r);
  if (FKomaCount == FCols * FRows) {
    EndShori();
    return;
  }
  FTurn = OtherSide(FTurn);
  GameShori();
}

void TIReversi::GameShori() {
  if (!CheckKomaPut(FTurn)) {
    MessagePass(FTurn);
    FTurn = OtherSide(FTurn);
    if (!CheckKomaPut(FTurn)) {
      MessagePass(FTurn);
      EndShori();
      return;
    }
  }
  switch (static_cast<PlayerKind>(KindOfSide(FTurn))) {
    case PlayerKind::Local: setEnabled(true); break;
    case PlayerKind::Cpu: {
      setEnabled(false);
      // The pause before an engine move is a timer: the window goes on meanwhile. A move, a
      // reset or a new match handled in it makes the request stale, and one engine is asked
      // per position however often the turn is handed out.
      const unsigned generation = turnGeneration_;
      QTimer::singleShot(kEnginePauseMs, this, [this, generation] {
        if (generation != turnGeneration_ || gameOver_ || engineAsked_ == generation) return;
        if (KindOfSide(FTurn) != static_cast<int>(PlayerKind::Cpu)) return;
        engineAsked_ = generation;
        Tekuming();
      });
      break;
    }
    case PlayerKind::Net: setEnabled(false); break;
    case PlayerKind::None: break;
  }
}

void TIReversi::MessagePass(int side) {
  platform::ShowMessage(SideName(side) + QStringLiteral("はパスです"), QStringLiteral("順番"));
}

void TIReversi::EndShori() {
  gameOver_ = true;
  countedGame_[0] = countedGame_[1] = nullptr;  // the game has its result
  FKuroCount = 0;
  FShiroCount = 0;
  for (int x = 0; x < FCols && FBan; ++x) {
    for (int y = 0; y < FRows; ++y) {
      if (FBan[x][y] == 1) ++FKuroCount;
      if (FBan[x][y] == 2) ++FShiroCount;
    }
  }
  setEnabled(false);

  if (FKuroCount == FShiroCount) {
    FGameEnd = 1;
    platform::ShowMessage(QStringLiteral("引き分けです"), QStringLiteral("結果"));
    return;
  }
  const int winner = FKuroCount > FShiroCount ? 1 : 2;
  constexpr auto local = static_cast<int>(PlayerKind::Local);
  if (KindOfSide(OtherSide(winner)) == local) {
    Increment(SouLose);
    if (FNetPlay) Increment(NetLose);
  }
  if (KindOfSide(winner) == local) {
    Increment(SouWin);
    if (FNetPlay) Increment(NetWin);
  }
  platform::ShowMessage(SideName(winner) + QStringLiteral("の勝ちです\n青：") + QString::number(FKuroCount) +
                            QStringLiteral("\n白：") + QString::number(FShiroCount),
                        QStringLiteral("結果"));
  FGameEnd = 1;
}

void TIReversi::AbandonGame() {
  if (gameOver_) return;
  gameOver_ = true;
  ++turnGeneration_;
  setEnabled(false);
  for (std::int32_t*& counter : countedGame_) {
    Decrement(counter);
    counter = nullptr;
  }
  FGameEnd = 1;
}

void TIReversi::NetGet(const _Rev& r) {
  awaitingEcho_ = false;
  if (!Inside(r.x, r.y)) return;
  MoveStep(r);
}

void TIReversi::Tekuming() {
  if (OnEngineRequest) OnEngineRequest();
}

void TIReversi::SendMove(const _Rev& r) {
  awaitingEcho_ = true;
  if (OnSendMove) OnSendMove(r);
}

void TIReversi::SetCpuPath(int index, const char* path) {
  if (index < 0 || index > 1) return;
  char* slot = FCpuPath[index];
  std::memset(slot, 0, sizeof FCpuPath[index]);
  if (path) std::strncpy(slot, path, sizeof FCpuPath[index] - 1);
}
