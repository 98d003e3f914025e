#pragma once
// One engine move: a short-lived thread that runs the engine in the engine runner and waits for
// it, then hands only the answer to the window thread, which checks it against the board and
// plays it, sends it to the room, or reports the engine's failure. The window never waits for
// an engine.
#include <QPointer>
#include <QString>
#include <QThread>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/IReversi.h"
#include "game/Rev.h"
#include "enginehost/EngineCalls.h"

class EngineCallCancel;
class MainThreadHandover;

class TCpuThin : public QThread {
 public:
  // Starts at once and deletes itself when it has finished. path is the engine library
  // (at most 511 bytes are kept); board and side are the board's live FBan and &FTurn, of which
  // the position is copied now. runner is the engine runner; engineName is what a failure
  // message calls the engine. Construct on the main thread.
  TCpuThin(TIReversi& reversi, std::int32_t cols, std::int32_t rows, const char* path, std::int32_t** board,
           std::int32_t* side, std::string runner, QString engineName);
  ~TCpuThin() override;

  // Main thread: the move is no longer wanted. The runner is killed at once and no answer is
  // handed over.
  void Cancel();
  // Main thread: whether the answer is being handled right now (a box may be open in it).
  bool Delivering() const { return delivering_; }
  const TIReversi* Board() const { return reversi_.data(); }

 protected:
  void run() override;

 private:
  // On the main thread: play the engine's move, send it to the room, or report the failure.
  void DoThinking(const EngineAnswer<_Rev>& answer);
  // The board is still waiting for this engine on the position it was asked about.
  bool StillWanted(const TIReversi& reversi) const;

  std::int32_t columns;
  std::int32_t rows;
  std::int32_t* side;
  std::int32_t** board;
  char path[512];

  const std::string runner_;
  const QString engineName_;
  std::shared_ptr<MainThreadHandover> handover_;
  std::shared_ptr<EngineCallCancel> cancel_;
  QPointer<TIReversi> reversi_;
  std::int32_t askedSide_;
  std::vector<std::int32_t> askedPosition_;
  bool delivering_ = false;
};

// The board's engine request: one TCpuThin for the side to move, with its FCpuPath entry.
// Returns the thread, which owns itself; nothing when the side to move is not 1 or 2.
TCpuThin* RequestEngineMove(TIReversi& board, const std::string& runner, const QString& engineName);

// Main thread: cancels every engine move in progress for the board and lets their threads end.
void CancelEngineMoves(const TIReversi& board);

// Wires the board's engine requests and cancellations: the runner lies in programFolder, and
// engineName(side) is the name the engine of side 1 or 2 goes by.
void ConnectEngine(TIReversi& board, const std::string& programFolder, std::function<QString(int side)> engineName);
