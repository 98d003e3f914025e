#include "enginehost/CpuThread.h"

#include <cstring>

#include "enginehost/EngineCalls.h"
#include "platform/MainThreadHandover.h"

namespace {

std::vector<std::int32_t> Snapshot(std::int32_t* const* board, std::int32_t cols, std::int32_t rows) {
  std::vector<std::int32_t> cells;
  if (!board) return cells;
  cells.reserve(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
  for (std::int32_t x = 0; x < cols; ++x) cells.insert(cells.end(), board[x], board[x] + rows);
  return cells;
}

}  // namespace

TCpuThin::TCpuThin(TIReversi& reversi, std::int32_t cols, std::int32_t rows, const char* path,
                   std::int32_t** board, std::int32_t* side)
    : columns(cols),
      rows(rows),
      side(side),
      board(board),
      path{},
      handover_(std::make_shared<MainThreadHandover>(this)),
      reversi_(&reversi),
      askedSide_(side ? *side : 0),
      askedPosition_(Snapshot(board, cols, rows)) {
  if (path) std::strncpy(this->path, path, sizeof this->path - 1);
  connect(this, &QThread::finished, this, &QObject::deleteLater);
  start();
}

TCpuThin::~TCpuThin() { handover_->Close(); }

void TCpuThin::run() {
  handover_->Run([this] { DoThinking(); });
}

bool TCpuThin::StillWanted(const TIReversi& reversi) const {
  // A reset, a move from elsewhere or a new match may have come between the request and now;
  // an answer about another position must not be played.
  if (reversi.FBan != board || reversi.FCols != columns || reversi.FRows != rows) return false;
  if (side != &reversi.FTurn || *side != askedSide_ || reversi.FGameEnd != 0) return false;
  const std::int32_t kind = *side == 1 ? reversi.FWho1 : reversi.FWho2;
  if (kind != static_cast<std::int32_t>(PlayerKind::Cpu)) return false;
  if (reversi.FNetPlay && reversi.AwaitingEcho()) return false;
  return Snapshot(board, columns, rows) == askedPosition_;
}

void TCpuThin::DoThinking() {
  TIReversi* reversi = reversi_.data();
  if (!reversi || !StillWanted(*reversi)) return;
  // The engine works on its own copy of the board; a library that does not load gives no move
  // and no message, and the board keeps waiting.
  const std::optional<_Rev> move = AskEngineMove(path, columns, rows, board, *side);
  if (!move) return;
  // An answer off the board, on a taken cell or against the rules is treated like no answer.
  if (!reversi->Inside(move->x, move->y) || !reversi->HaichiCheck(*move)) return;
  if (reversi->FNetPlay) {
    // The room plays it on every board, this one included, when the host relays it back.
    reversi->SendMove(*move);
    return;
  }
  // Place and flip, then the end of a full board, or the other side's turn.
  reversi->MoveStep(*move);
}

TCpuThin* RequestEngineMove(TIReversi& board) {
  if (board.FTurn != 1 && board.FTurn != 2) return nullptr;
  return new TCpuThin(board, board.FCols, board.FRows, board.FCpuPath[board.FTurn - 1], board.FBan, &board.FTurn);
}

void ConnectEngine(TIReversi& board) {
  board.OnEngineRequest = [&board] { RequestEngineMove(board); };
}
