#include "enginehost/EngineCalls.h"

#include <array>
#include <cstring>
#include <vector>

#include "enginehost/EngineContract.h"
#include "platform/DynamicLibrary.h"

namespace {

// Text up to the first zero, never past the buffer (an engine may fill it to the brim).
template <std::size_t N>
QByteArray UpToZero(const std::array<char, N>& buffer) {
  const void* zero = std::memchr(buffer.data(), 0, N);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer.data()) : N;
  return QByteArray(buffer.data(), static_cast<qsizetype>(length));
}

}  // namespace

std::optional<EngineStatus> QueryEngineStatus(const std::string& libraryPath) {
  platform::DynamicLibrary library(libraryPath);
  // A library without the export is no engine: treated like one that does not load.
  auto getStatus = reinterpret_cast<GetStatusProc>(library.Symbol(VELM_ENGINE_STATUS_EXPORT));
  if (!getStatus) return std::nullopt;
  std::array<char, VELM_ENGINE_NAME_SIZE> name{};
  std::array<char, VELM_ENGINE_BITMAP_SIZE> bitmap{};
  getStatus(name.data(), bitmap.data());
  return EngineStatus{UpToZero(name), UpToZero(bitmap)};
}

std::optional<_Rev> AskEngineMove(const std::string& libraryPath, std::int32_t cols, std::int32_t rows,
                                  std::int32_t* const* board, std::int32_t side) {
  if (cols <= 0 || rows <= 0 || !board) return std::nullopt;
  platform::DynamicLibrary library(libraryPath);
  auto tekuming = reinterpret_cast<TekumingProc>(library.Symbol(VELM_ENGINE_MOVE_EXPORT));
  if (!tekuming) return std::nullopt;

  // The engine gets its own copy, in the board's shape, so nothing it does reaches the game.
  std::vector<std::vector<std::int32_t>> columns(static_cast<std::size_t>(cols));
  std::vector<std::int32_t*> copy(static_cast<std::size_t>(cols));
  for (std::int32_t x = 0; x < cols; ++x) {
    columns[x].assign(board[x], board[x] + rows);
    copy[x] = columns[x].data();
  }
  std::array<unsigned char, VELM_ENGINE_SCRATCH_SIZE> scratch{};
  EngineMove move{};
  const EngineBoardSize size{cols, rows};
  tekuming(&size, copy.data(), side, &move, scratch.data());
  return _Rev{move.x, move.y, side};
}
