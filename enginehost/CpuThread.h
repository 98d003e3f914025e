#pragma once
// One engine move: the engine is asked about a snapshot of the position, in the engine runner,
// by a worker of its own; only the answer comes back to the window thread. Nothing here points
// into the game, and nobody waits: the window never waits for the worker, the worker waits only
// for the window to take the answer, and stopping the move kills its runner and releases it.
#include <functional>
#include <memory>
#include <string>

#include "enginehost/EngineCalls.h"
#include "game/Game.h"
#include "platform/Worker.h"

class EngineCallCancel;

class TCpuThin {
 public:
  using Done = std::function<void(const EngineAnswer<_Rev>& answer)>;

  // Starts at once; construct on the window thread. runner is the engine runner, path the
  // engine library (at most 511 bytes are used, as the contract's path field holds). done runs
  // on the window thread with the engine's answer as it stands (the caller checks it against
  // its game), unless the move was cancelled first. done may destroy this object.
  TCpuThin(std::string runner, std::string path, PositionSnapshot position, EngineTimeLimits limits, Done done);
  ~TCpuThin();
  TCpuThin(const TCpuThin&) = delete;
  TCpuThin& operator=(const TCpuThin&) = delete;

  // The move is no longer wanted: the runner is killed at once, done never runs.
  void Cancel();
  // The engine has not answered yet, and the move is still wanted.
  bool Thinking() const { return thinking_; }

 private:
  void Deliver(const EngineAnswer<_Rev>& answer);

  std::shared_ptr<EngineCallCancel> cancel_;
  Done done_;
  bool thinking_ = true;
  std::unique_ptr<platform::Worker> worker_;
};

using EngineMove = std::unique_ptr<TCpuThin>;
