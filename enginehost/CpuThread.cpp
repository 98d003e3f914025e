#include "enginehost/CpuThread.h"

#include <QDeadlineTimer>
#include <algorithm>
#include <cstring>

#include "enginehost/EngineFailureMessage.h"
#include "enginehost/EngineProcess.h"
#include "platform/Dialogs.h"
#include "platform/MainThreadHandover.h"

namespace {

// A cancelled thread kills its runner and ends in moments; this is only a bound.
constexpr int kEndWaitMs = 500;

std::vector<std::int32_t> Snapshot(std::int32_t* const* board, std::int32_t cols, std::int32_t rows) {
  std::vector<std::int32_t> cells;
  if (!board) return cells;
  cells.reserve(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
  for (std::int32_t x = 0; x < cols; ++x) cells.insert(cells.end(), board[x], board[x] + rows);
  return cells;
}

// The engine threads alive, touched on the main thread only.
std::vector<TCpuThin*>& LiveThreads() {
  static std::vector<TCpuThin*> threads;
  return threads;
}

}  // namespace

TCpuThin::TCpuThin(TIReversi& reversi, std::int32_t cols, std::int32_t rows, const char* path,
                   std::int32_t** board, std::int32_t* side, std::string runner, QString engineName)
    : columns(cols),
      rows(rows),
      side(side),
      board(board),
      path{},
      runner_(std::move(runner)),
      engineName_(std::move(engineName)),
      handover_(std::make_shared<MainThreadHandover>(this)),
      cancel_(std::make_shared<EngineCallCancel>()),
      reversi_(&reversi),
      askedSide_(side ? *side : 0),
      askedPosition_(Snapshot(board, cols, rows)) {
  if (path) std::strncpy(this->path, path, sizeof this->path - 1);
  LiveThreads().push_back(this);
  connect(this, &QThread::finished, this, &QObject::deleteLater);
  start();
}

TCpuThin::~TCpuThin() {
  Cancel();
  auto& live = LiveThreads();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TCpuThin::Cancel() {
  handover_->Close();
  cancel_->Cancel();
}

void TCpuThin::run() {
  // The engine is asked about the position copied at the request; the runner gets its own copy.
  std::vector<const std::int32_t*> position;
  for (std::int32_t x = 0; x < columns && !askedPosition_.empty(); ++x) position.push_back(askedPosition_.data() + x * rows);
  const EngineAnswer<_Rev> answer = AskEngineMove(runner_, path, columns, rows, position.empty() ? nullptr : position.data(),
                                                  askedSide_, cancel_.get());
  handover_->Run([this, &answer] {
    delivering_ = true;
    DoThinking(answer);
    delivering_ = false;
  });
}

bool TCpuThin::StillWanted(const TIReversi& reversi) const {
  // A reset, a move from elsewhere or a new match may have come between the request and now;
  // an answer about another position must not be played.
  if (!board || reversi.FBan != board || reversi.FCols != columns || reversi.FRows != rows) return false;
  if (side != &reversi.FTurn || *side != askedSide_ || reversi.FGameEnd != 0) return false;
  const std::int32_t kind = *side == 1 ? reversi.FWho1 : reversi.FWho2;
  if (kind != static_cast<std::int32_t>(PlayerKind::Cpu)) return false;
  if (reversi.FNetPlay && reversi.AwaitingEcho()) return false;
  return Snapshot(board, columns, rows) == askedPosition_;
}

void TCpuThin::DoThinking(const EngineAnswer<_Rev>& answer) {
  TIReversi* reversi = reversi_.data();
  if (!reversi || answer.failure == EngineFailure::Cancelled || !StillWanted(*reversi)) return;
  // An answer off the board, on a taken cell or against the rules is no move.
  const bool playable = answer.value && reversi->Inside(answer.value->x, answer.value->y) &&
                        reversi->HaichiCheck(*answer.value);
  if (!playable) {
    const EngineFailure failure = answer.failure == EngineFailure::None ? EngineFailure::WrongAnswer : answer.failure;
    // The game is over before the box opens, so nothing handled while it is open finds the
    // board still waiting for this engine.
    reversi->AbandonGame();
    platform::ShowMessage(EngineFailureText(engineName_, failure), EngineFailureCaption());
    return;
  }
  if (reversi->FNetPlay) {
    // The room plays it on every board, this one included, when the host relays it back.
    reversi->SendMove(*answer.value);
    return;
  }
  // Place and flip, then the end of a full board, or the other side's turn.
  reversi->MoveStep(*answer.value);
}

TCpuThin* RequestEngineMove(TIReversi& board, const std::string& runner, const QString& engineName) {
  if (board.FTurn != 1 && board.FTurn != 2) return nullptr;
  return new TCpuThin(board, board.FCols, board.FRows, board.FCpuPath[board.FTurn - 1], board.FBan, &board.FTurn,
                      runner, engineName);
}

void CancelEngineMoves(const TIReversi& board) {
  std::vector<QPointer<TCpuThin>> mine;
  for (TCpuThin* thread : LiveThreads()) {
    if (thread->Board() != &board && thread->Board()) continue;
    thread->Cancel();
    mine.emplace_back(thread);
  }
  // Their runners are dead; the threads only reap them and end. One whose answer is being
  // handled further down this very stack cannot end before it returns: it is not waited for.
  for (const QPointer<TCpuThin>& thread : mine)
    if (thread && !thread->Delivering()) thread->wait(QDeadlineTimer(kEndWaitMs));
}

void ConnectEngine(TIReversi& board, const std::string& programFolder, std::function<QString(int side)> engineName) {
  const std::string runner = EngineRunnerIn(programFolder);
  board.OnEngineRequest = [&board, runner, engineName] {
    RequestEngineMove(board, runner, engineName ? engineName(board.FTurn) : QString());
  };
  board.OnEngineCancel = [&board] { CancelEngineMoves(board); };
}
