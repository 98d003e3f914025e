#pragma once
// One engine move: the engine is asked about a snapshot of the position, in the engine runner,
// by a worker of the program's thread pool; only the answer comes back to the window thread.
// Nothing here points into the game, and nobody waits: the window never waits for the worker,
// the worker waits only for the window to take the answer, and stopping the move releases it.
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "enginehost/EngineCalls.h"
#include "game/Game.h"

class EngineCallCancel;
class MainThreadHandover;

class TCpuThin : public QObject {
 public:
  using Done = std::function<void(const EngineAnswer<_Rev>& answer)>;

  // Starts at once; construct on the window thread. runner is the engine runner, path the
  // engine library (at most 511 bytes are used, as the contract's path field holds). done runs
  // on the window thread with the engine's answer as it stands (the caller checks it against
  // its game), unless the move was cancelled first. Release it with Discard from anywhere,
  // done included.
  TCpuThin(std::string runner, std::string path, PositionSnapshot position, Done done, QObject* parent = nullptr);
  ~TCpuThin() override;

  // The move is no longer wanted: the runner is killed at once, done never runs.
  void Cancel();
  // The engine has not answered yet, and the move is still wanted.
  bool Thinking() const { return thinking_; }

 private:
  void Deliver(const EngineAnswer<_Rev>& answer);

  std::shared_ptr<MainThreadHandover> handover_;
  std::shared_ptr<EngineCallCancel> cancel_;
  Done done_;
  bool thinking_ = true;
};

// Cancels a move and lets it go once the window thread is back in its loop: it may be the one
// whose answer is being handled further down the stack.
struct DiscardEngineMove {
  void operator()(TCpuThin* move) const;
};
using EngineMove = std::unique_ptr<TCpuThin, DiscardEngineMove>;
