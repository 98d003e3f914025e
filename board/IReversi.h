#pragma once
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "board/BoardPainter.h"
#include "board/FlipAnimation.h"
#include "game/Game.h"

class QKeyEvent;
class QMouseEvent;
class QPaintEvent;

// The board component: shows one game and turns the user's mouse and keyboard into moves. It
// only reads the game; the moves it is given go to whoever set OnMove (the turn flow).
//
// Two looks. The classic one paints into a bitmap of the control's own size, the board
// stretched to it, one cell at a time as the game changes, with no marks. The other shows a
// square board as large as the control allows, round stones painted at the screen's resolution,
// the last move, the cells where the user may play, an engine's hint and stones turning over.
// Everything runs on the window thread.
class TIReversi : public QWidget, private GameListener {
  Q_OBJECT

 public:
  // Which cursor the board shows: the control's default before the first move over it,
  // number 1 (KUROGOMA), number 2 (SIROGOMA) or the no cursor.
  enum class BoardCursor { Default, Kuro, Shiro, No };

  struct Look {
    bool classic = false;
    bool lastMove = true;
    bool legalMoves = true;
    bool animate = true;
  };

  explicit TIReversi(const Game& game, QWidget* owner = nullptr);
  ~TIReversi() override;

  const Game& Shown() const { return game_; }
  void SetLook(const Look& look);
  const Look& CurrentLook() const { return look_; }

  // A legal cell chosen with the mouse or the keyboard while input is open, as a move of the
  // side to move.
  std::function<void(const _Rev& move)> OnMove;
  // Whether the board takes moves: only while a Local side is to move.
  void SetInputOpen(bool open);
  bool InputOpen() const { return inputOpen_; }

  // An engine's suggestion for the side to move, marked until the position changes.
  void ShowHint(const _Rev& cell);
  std::optional<_Rev> Hint() const { return hint_; }

  // The classic drawing, straight into the bitmap; in the other look a repaint is asked for.
  void BanDraw();
  void KomaDraw1(int x, int y, int value);
  void KomaDrawAll();
  const QImage& Bitmap() const { return bitmap_; }

  // Mouse handlers (the widget's own mouse events call them).
  void BanMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int X, int Y);
  void BanMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
  BoardCursor CurrentCursor() const { return cursor_; }

  // Where a cell is drawn, in the control's pixels; empty while the board has no room.
  QRect CellRect(int x, int y) const;
  // The cell the keyboard's frame is on.
  QPoint FocusCell() const { return focus_; }

  // What a screen reader is told: the turn and the count ("青の番　青 2　白 2", at the end
  // "終局　青 40　白 24"), and one cell ("青", "白", "空き", "空き（置ける）").
  QString StateText() const;
  QString CellText(int x, int y) const;
  // Whether the user may play there now: the board takes moves and the rules allow it.
  bool Playable(int x, int y) const;

  // Paints the board as the control shows it, for a painter on any device of that size.
  void PaintBoard(QPainter& painter, double ratio);

 signals:
  void InputOpenChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // GameListener: what changed is painted.
  void Placed(const _Rev& stone, const std::vector<_Rev>& flipped) override;
  void Passed(int) override { Changed(); }
  void Ended() override { Changed(); }
  void Restarted() override { Repainted(); }
  void Rewound() override { Repainted(); }
  void PlayersSet() override { Changed(); }
  // Something changed that the whole board shows; the hint is old now.
  void Changed();
  void Repainted();

  void FitBitmap();
  void ShowCursor(BoardCursor cursor);
  bool CellAtPointer(int X, int Y, int& column, int& row) const;
  BoardScene Scene() const;
  void MoveFocus(int dx, int dy);
  void TellFocus();

  const Game& game_;
  Look look_;
  QImage bitmap_;
  std::int32_t FCellW = 0;  // the classic cell size, as last drawn
  std::int32_t FCellH = 0;
  BoardCursor cursor_ = BoardCursor::Default;
  bool inputOpen_ = true;
  std::optional<_Rev> hint_;
  QPoint focus_{3, 3};
  BoardPainter painter_;
  FlipAnimation flips_;
  QElapsedTimer flipClock_;
  QTimer frames_;
};
