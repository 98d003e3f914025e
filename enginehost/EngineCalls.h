#pragma once
// The program's side of the engine contract. Every call runs in the engine runner, a program of
// its own beside velmora that loads the library, makes the one call and frees it; the program
// never loads an engine library itself. One call at a time in the whole program, each within
// its time limit. Called on worker threads only: a call may take as long as its limit.
#include <QByteArray>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "game/Rev.h"

class EngineCallCancel;

enum class EngineFailure {
  None,
  NotAnEngine,  // the library does not load or lacks the export
  Crashed,      // the runner died before answering (crash, abort, exit)
  TimedOut,     // no answer within the time limit: the runner was killed
  WrongAnswer,  // an answer that is no legal move (decided by the caller, who knows the board)
  Cancelled,    // the caller gave up on the call
};

// An answer, or why there is none.
template <typename T>
struct EngineAnswer {
  std::optional<T> value;
  EngineFailure failure = EngineFailure::None;
};

// What an engine's GetStatus reported: raw code page 932 bytes, each up to its terminating zero.
struct EngineStatus {
  QByteArray name;    // display name, at most 20 bytes
  QByteArray bitmap;  // picture file name, without folder
};

// How long an engine may take; the program keeps these, tests give shorter ones.
struct EngineTimeLimits {
  std::chrono::milliseconds status{2000};
  std::chrono::milliseconds move{60000};
};

// The runner's file name, and where it lies: in the program folder (ending in "/"), beside velmora.
std::string EngineRunnerName();
std::string EngineRunnerIn(const std::string& programFolder);

// GetStatus of the library at libraryPath, through the runner.
EngineAnswer<EngineStatus> QueryEngineStatus(const std::string& runner, const std::string& libraryPath,
                                             EngineCallCancel* cancel = nullptr,
                                             std::chrono::milliseconds limit = EngineTimeLimits{}.status);

// Tekuming on a copy of the board (cols pointers to rows cells each) for side, through the
// runner: the engine's cell with value = side. The answer is the engine's as it stands: the
// caller checks it against the board before playing it.
EngineAnswer<_Rev> AskEngineMove(const std::string& runner, const std::string& libraryPath, std::int32_t cols,
                                 std::int32_t rows, const std::int32_t* const* board, std::int32_t side,
                                 EngineCallCancel* cancel = nullptr,
                                 std::chrono::milliseconds limit = EngineTimeLimits{}.move);
