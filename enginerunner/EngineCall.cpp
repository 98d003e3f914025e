#include "enginerunner/EngineCall.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/DynamicLibrary.h"

namespace enginecall {

namespace {

// Room past the end of each buffer the contract names, so an engine that writes a little too
// much spoils nothing of ours; what lies past the contract's size is never read.
constexpr std::size_t kSlack = 256;

}  // namespace

std::optional<runnerwire::StatusBuffers> CallGetStatus(const std::string& libraryPath) {
  platform::DynamicLibrary library(libraryPath);
  // A library without the export is no engine: treated like one that does not load.
  auto getStatus = reinterpret_cast<GetStatusProc>(library.Symbol(VELM_ENGINE_STATUS_EXPORT));
  if (!getStatus) return std::nullopt;
  std::array<char, VELM_ENGINE_NAME_SIZE + kSlack> name{};
  std::array<char, VELM_ENGINE_BITMAP_SIZE + kSlack> bitmap{};
  getStatus(name.data(), bitmap.data());
  runnerwire::StatusBuffers buffers;
  std::memcpy(buffers.name.data(), name.data(), buffers.name.size());
  std::memcpy(buffers.bitmap.data(), bitmap.data(), buffers.bitmap.size());
  return buffers;
}

std::optional<EngineMove> CallTekuming(const std::string& libraryPath, const runnerwire::MoveRequest& request) {
  const auto cols = static_cast<std::size_t>(request.columns);
  const auto rows = static_cast<std::size_t>(request.rows);
  if (request.columns <= 0 || request.rows <= 0 || request.cells.size() != cols * rows) return std::nullopt;
  platform::DynamicLibrary library(libraryPath);
  auto tekuming = reinterpret_cast<TekumingProc>(library.Symbol(VELM_ENGINE_MOVE_EXPORT));
  if (!tekuming) return std::nullopt;

  // The engine gets its own copy, in the board's shape, so nothing it does reaches the caller.
  std::vector<std::int32_t> cells = request.cells;
  std::vector<std::int32_t*> board(cols);
  for (std::size_t x = 0; x < cols; ++x) board[x] = cells.data() + x * rows;
  std::array<unsigned char, VELM_ENGINE_SCRATCH_SIZE + kSlack> scratch{};
  struct {
    EngineMove record;
    unsigned char slack[kSlack];
  } move{};
  const EngineBoardSize size{request.columns, request.rows};
  tekuming(&size, board.data(), request.side, &move.record, scratch.data());
  return move.record;
}

}  // namespace enginecall
