#pragma once
// What the program and the engine runner say to each other. The runner is started as
//   <runner> status <library>    or    <runner> move <library>
// A move request comes on the runner's stdin: columns, rows, side, then the cells column after
// column. The answer goes to its stdout: a reply code, then for status the name and bitmap
// buffers as the engine left them, for a move the engine's move record. Every integer is a
// little-endian 32-bit value. No Qt here: the runner links nothing of the program.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "contract/EngineContract.h"

namespace runnerwire {

inline constexpr char kStatusCall[] = "status";
inline constexpr char kMoveCall[] = "move";

enum class Reply : std::int32_t {
  Answered = 0,
  NotAnEngine = 1,  // the library does not load or lacks the export
};

// The request is written whole into the pipe before the runner starts, so it must fit the
// smallest buffer a pipe may have: one page.
inline constexpr std::size_t kMaxRequestBytes = 4096;

struct MoveRequest {
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t side = 0;
  std::vector<std::int32_t> cells;  // cell (x, y) is cells[x * rows + y]
};

struct StatusBuffers {
  std::array<char, VELM_ENGINE_NAME_SIZE> name{};
  std::array<char, VELM_ENGINE_BITMAP_SIZE> bitmap{};
};

struct StatusAnswer {
  Reply reply = Reply::NotAnEngine;
  StatusBuffers buffers;  // meaningful when Answered
};

struct MoveAnswer {
  Reply reply = Reply::NotAnEngine;
  EngineMove move{};  // meaningful when Answered
};

inline constexpr std::size_t kStatusAnswerBytes = 4 + VELM_ENGINE_NAME_SIZE + VELM_ENGINE_BITMAP_SIZE;
inline constexpr std::size_t kMoveAnswerBytes = 4 + sizeof(EngineMove);

// Empty when the board is not a real one or does not fit a request.
std::vector<unsigned char> EncodeMoveRequest(const MoveRequest& request);
std::optional<MoveRequest> DecodeMoveRequest(const std::vector<unsigned char>& bytes);

std::vector<unsigned char> EncodeStatusAnswer(const StatusAnswer& answer);
std::vector<unsigned char> EncodeMoveAnswer(const MoveAnswer& answer);
// Nothing unless the bytes are exactly one answer with a known reply code.
std::optional<StatusAnswer> DecodeStatusAnswer(const std::vector<unsigned char>& bytes);
std::optional<MoveAnswer> DecodeMoveAnswer(const std::vector<unsigned char>& bytes);

}  // namespace runnerwire
