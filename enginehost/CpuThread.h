#pragma once
// One engine move: a short-lived thread that has the main thread ask the engine and apply or
// send its answer, so that the engine is called after the board's turn handling has returned.
#include <QThread>
#include <cstdint>

#include "board/Rev.h"

class TIReversi;

class TCpuThin : public QThread {
 public:
  // Starts at once and deletes itself when it has finished. path is the engine library
  // (at most 511 bytes are kept); board and side are the board's live FBan and &FTurn.
  TCpuThin(TIReversi& reversi, std::int32_t cols, std::int32_t rows, const char* path,
           std::int32_t** board, std::int32_t* side);
  ~TCpuThin() override;

 protected:
  void run() override;

 private:
  void DoThinking();

  std::int32_t columns;
  std::int32_t rows;
  std::int32_t* side;
  std::int32_t** board;
  char path[512];
  TIReversi* reversi_;
};

// The board's engine request: one TCpuThin for the side to move (FCpuPath[FTurn - 1]).
// Returns the thread, which owns itself.
TCpuThin* RequestEngineMove(TIReversi& board);
