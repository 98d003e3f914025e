#pragma once
// Running the engine runner once: start it in a process group of its own, give it its request,
// wait for its answer within a time limit, and leave nothing behind: the runner (and anything it
// started) is killed if need be and always reaped before the call returns. Calls never overlap
// anywhere in the program: a second caller waits until the first has finished, as engines expect.
// Plain POSIX, no Qt; called on worker threads only, never on the window thread.
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

// Lets another thread end a call, or one still waiting for its turn: the runner is killed at
// once and the caller returns Cancelled. Once cancelled, it stays cancelled.
class EngineCallCancel {
 public:
  EngineCallCancel();
  ~EngineCallCancel();
  EngineCallCancel(const EngineCallCancel&) = delete;
  EngineCallCancel& operator=(const EngineCallCancel&) = delete;

  void Cancel();  // any thread
  bool Cancelled() const;

  // For the call in progress: the descriptor that becomes readable on Cancel(), and the runner
  // to kill then. Attach answers false when already cancelled; Detach comes before the reaping,
  // so a Cancel() never signals a process id that may have been reused.
  int WakeFd() const { return wakeFd_; }
  bool Attach(pid_t group);
  void Detach();

 private:
  mutable std::mutex mutex_;
  bool cancelled_ = false;
  pid_t group_ = 0;
  int wakeFd_ = -1;
};

enum class RunnerEnd {
  Answered,    // exactly the expected answer came back
  Died,        // the runner ended (crash, exit) before its whole answer
  TimedOut,    // killed at the time limit
  Cancelled,   // killed on request, or cancelled before it started
  NotStarted,  // the runner program could not be started, or the request is too large
};

struct RunnerResult {
  RunnerEnd end = RunnerEnd::NotStarted;
  std::vector<unsigned char> answer;  // answerBytes long when Answered
};

// argv[0] is the runner program. The whole request is in the runner's stdin before it starts.
RunnerResult RunEngineRunner(const std::vector<std::string>& argv, const std::vector<unsigned char>& request,
                             std::size_t answerBytes, std::chrono::milliseconds limit, EngineCallCancel& cancel);
