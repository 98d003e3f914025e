#pragma once
// One engine move: a short-lived thread that has the main thread ask the engine and apply or
// send its answer, so that the engine is called after the board's turn handling has returned.
#include <QPointer>
#include <QThread>
#include <cstdint>
#include <memory>
#include <vector>

#include "board/IReversi.h"
#include "board/Rev.h"

class MainThreadHandover;

class TCpuThin : public QThread {
 public:
  // Starts at once and deletes itself when it has finished. path is the engine library
  // (at most 511 bytes are kept); board and side are the board's live FBan and &FTurn.
  // Construct on the main thread.
  TCpuThin(TIReversi& reversi, std::int32_t cols, std::int32_t rows, const char* path,
           std::int32_t** board, std::int32_t* side);
  ~TCpuThin() override;

 protected:
  void run() override;

 private:
  // On the main thread: ask the engine, then play its move or send it to the room.
  void DoThinking();
  // The board is still waiting for this engine on the position it was asked about.
  bool StillWanted(const TIReversi& reversi) const;

  std::int32_t columns;
  std::int32_t rows;
  std::int32_t* side;
  std::int32_t** board;
  char path[512];

  std::shared_ptr<MainThreadHandover> handover_;
  QPointer<TIReversi> reversi_;
  std::int32_t askedSide_;
  std::vector<std::int32_t> askedPosition_;
};

// The board's engine request: one TCpuThin for the side to move, with its FCpuPath entry.
// Returns the thread, which owns itself; nothing when the side to move is not 1 or 2.
TCpuThin* RequestEngineMove(TIReversi& board);

// Wires the board's engine request to RequestEngineMove.
void ConnectEngine(TIReversi& board);
