#include "enginehost/EngineCalls.h"

#include <array>
#include <cstring>
#include <vector>

#include "enginehost/EngineProcess.h"
#include "contract/RunnerWire.h"
#include "platform/Codec.h"

namespace {


// The text a field holds: up to its first zero, never past the contract's size. A field filled
// to the brim without its zero keeps one byte less, cut at a character boundary.
template <std::size_t N>
QByteArray FieldText(const std::array<char, N>& field) {
  const void* zero = std::memchr(field.data(), 0, N);
  if (zero) return QByteArray(field.data(), static_cast<qsizetype>(static_cast<const char*>(zero) - field.data()));
  return platform::CutCp932(QByteArray(field.data(), static_cast<qsizetype>(N)), N - 1);
}

EngineFailure FailureOf(RunnerEnd end) {
  switch (end) {
    case RunnerEnd::Answered: return EngineFailure::None;
    case RunnerEnd::Died: return EngineFailure::Crashed;
    case RunnerEnd::TimedOut: return EngineFailure::TimedOut;
    case RunnerEnd::Cancelled: return EngineFailure::Cancelled;
    case RunnerEnd::NotStarted: break;
  }
  return EngineFailure::NotAnEngine;
}

// The runner's answer as the caller's value: a garbled answer counts as a crash, and the reply
// that the library is no engine as such.
template <typename T, typename Answer, typename Make>
EngineAnswer<T> Interpret(RunnerEnd end, const std::optional<Answer>& answer, Make make) {
  EngineAnswer<T> result;
  result.failure = FailureOf(end);
  if (end != RunnerEnd::Answered) return result;
  if (!answer)
    result.failure = EngineFailure::Crashed;
  else if (answer->reply != runnerwire::Reply::Answered)
    result.failure = EngineFailure::NotAnEngine;
  else
    result.value = make(*answer);
  return result;
}

// One run of the runner; a call without a cancel of its own gets one nobody else can reach.
RunnerResult Run(const std::string& runner, const char* call, const std::string& libraryPath,
                 const std::vector<unsigned char>& request, std::size_t answerBytes, std::chrono::milliseconds limit,
                 EngineCallCancel* cancel) {
  EngineCallCancel own;
  return RunEngineRunner({runner, call, libraryPath}, request, answerBytes, limit, cancel ? *cancel : own);
}

}  // namespace

std::string EngineRunnerName() { return VELM_ENGINE_RUNNER_NAME; }

std::string EngineRunnerIn(const std::string& programFolder) {
  std::string folder = programFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + EngineRunnerName();
}

EngineAnswer<EngineStatus> QueryEngineStatus(const std::string& runner, const std::string& libraryPath,
                                             EngineCallCancel* cancel, std::chrono::milliseconds limit) {
  const RunnerResult run = Run(runner, runnerwire::kStatusCall, libraryPath, {}, runnerwire::kStatusAnswerBytes,
                               limit, cancel);
  return Interpret<EngineStatus>(run.end, runnerwire::DecodeStatusAnswer(run.answer),
                                 [](const runnerwire::StatusAnswer& answer) {
                                   return EngineStatus{FieldText(answer.buffers.name), FieldText(answer.buffers.bitmap)};
                                 });
}

EngineAnswer<_Rev> AskEngineMove(const std::string& runner, const std::string& libraryPath, std::int32_t cols,
                                 std::int32_t rows, const std::int32_t* const* board, std::int32_t side,
                                 EngineCallCancel* cancel, std::chrono::milliseconds limit) {
  if (cols <= 0 || rows <= 0 || !board) return {std::nullopt, EngineFailure::NotAnEngine};
  runnerwire::MoveRequest request{cols, rows, side, {}};
  for (std::int32_t x = 0; x < cols; ++x) request.cells.insert(request.cells.end(), board[x], board[x] + rows);
  const std::vector<unsigned char> bytes = runnerwire::EncodeMoveRequest(request);
  if (bytes.empty()) return {std::nullopt, EngineFailure::NotAnEngine};  // no board the contract could carry
  const RunnerResult run = Run(runner, runnerwire::kMoveCall, libraryPath, bytes, runnerwire::kMoveAnswerBytes,
                               limit, cancel);
  return Interpret<_Rev>(run.end, runnerwire::DecodeMoveAnswer(run.answer), [side](const runnerwire::MoveAnswer& answer) {
    return _Rev{answer.move.x, answer.move.y, side};
  });
}
