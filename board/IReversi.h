#pragma once
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>

#include "game/BoardModel.h"
#include "game/Rev.h"

class QMouseEvent;
class QPaintEvent;

// The board component: one game of Reversi shown as an image control. It owns a bitmap of its
// own size; every drawing call paints into it at once and the control shows it.
// The rules and the board storage (FBan, FKomaList, FCols, FRows, FTurn, FKomaCount, SetKoma,
// ChangeKoma, HaichiCheck, KomaGaeshi, CheckKomaPut, DefaultSetKoma) come from BoardModel.
// Everything runs on the main thread.
class TIReversi : public QLabel, public BoardModel {
  Q_OBJECT

 public:
  // Which cursor the board shows: the control's default before the first move over it,
  // number 1 (KUROGOMA), number 2 (SIROGOMA) or the no cursor.
  enum class BoardCursor { Default, Kuro, Shiro, No };

  explicit TIReversi(QWidget* owner = nullptr);
  ~TIReversi() override;

  std::int32_t FWho1 = 0;  // PlayerKind of side 1, 0 until SetWho
  std::int32_t FWho2 = 0;  // PlayerKind of side 2
  bool FNetPlay = false;   // this machine is in a network room
  std::int32_t FCellW = 0;
  std::int32_t FCellH = 0;
  char FCpuPath[2][512] = {};  // engine library path of side 1 (0) and side 2 (1)
  std::int32_t FGameEnd = 0;   // 1 once the result has been shown
  std::int32_t FKuroCount = 0;
  std::int32_t FShiroCount = 0;
  // The game screen's record counters; the board only increments them. Null: not counted.
  std::int32_t* SouNum = nullptr;
  std::int32_t* SouWin = nullptr;
  std::int32_t* SouLose = nullptr;
  std::int32_t* NetNum = nullptr;
  std::int32_t* NetWin = nullptr;
  std::int32_t* NetLose = nullptr;

  // Seams to the network and the engine. OnSendMove gets a move this board wants played in a
  // network game; OnEngineRequest is asked to start the engine for side FTurn; OnEngineCancel
  // is told when the board is reset or released, so an engine still thinking is stopped.
  std::function<void(const _Rev& move)> OnSendMove;
  std::function<void()> OnEngineRequest;
  std::function<void()> OnEngineCancel;

  // Board size and storage.
  void SetBanSize(int cols, int rows);
  void ClearBanSize();
  // A fresh 8 × 8 board with the four starting stones, drawn: the start of every new game.
  void NewBoard();
  // Player kinds: p.x for side 1, p.y for side 2; counts the game for a Local side.
  void SetWho(QPoint p);
  void SetWho(const QPoint* p) { if (p) SetWho(*p); }

  // Drawing into the bitmap.
  void BanDraw();
  void KomaDraw1(int x, int y, int value);
  void KomaDraw1(const _Rev* r) { if (r) KomaDraw1(r->x, r->y, r->value); }
  void KomaDrawAll();

  // Mouse handlers (the widget's own mouse events call them).
  void BanMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int X, int Y);
  void BanMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);

  // Turn flow.
  void GameShori();
  void MessagePass(int side);
  void EndShori();
  void NetGet(const _Rev& r);
  void NetGet(const _Rev* r) { if (r) NetGet(*r); }
  void Tekuming();
  void SetCpuPath(int index, const char* path);
  // Applies a move of the side to move: place and flip, then the end or the next turn.
  void MoveStep(const _Rev& r);
  // Ends the game without a winner (its engine failed): no result box, nothing in the record,
  // so the game SetWho counted is taken back; a restart is open at once.
  void AbandonGame();
  // Hands a move to the network (OnSendMove) and refuses further clicks until a move
  // comes back through NetGet.
  void SendMove(const _Rev& r);
  bool AwaitingEcho() const { return awaitingEcho_; }

  BoardCursor CurrentCursor() const { return cursor_; }
  const QImage& Bitmap() const { return bitmap_; }

 protected:
  void CellChanged(int x, int y, std::int32_t value) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FitBitmap();
  void ShowCursor(BoardCursor cursor);
  bool CellAtPointer(int X, int Y, int& column, int& row) const;
  std::int32_t KindOfSide(int side) const;
  void CancelEngine();

  QImage bitmap_;
  BoardCursor cursor_ = BoardCursor::Default;
  bool awaitingEcho_ = false;
  bool gameOver_ = false;        // EndShori has begun; later moves are stale
  unsigned turnGeneration_ = 0;  // changes with every move and reset
  std::optional<unsigned> engineAsked_;  // the generation an engine was last asked about
  // The counters SetWho incremented for the game in progress, until it has its result.
  std::int32_t* countedGame_[2] = {};
};
