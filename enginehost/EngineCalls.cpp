#include "enginehost/EngineCalls.h"

#include <array>
#include <cstring>
#include <vector>

#include "enginehost/EngineContract.h"
#include "platform/Codec.h"
#include "platform/DynamicLibrary.h"

namespace {

// Room past the end of each buffer the contract names, so an engine that writes a little too
// much spoils nothing of ours; what lies past the contract's size is never read.
constexpr std::size_t kSlack = 256;

// The text a field holds: up to its first zero, never past the contract's size. A field filled
// to the brim without its zero keeps one byte less, cut at a character boundary.
QByteArray FieldText(const char* field, std::size_t size) {
  const void* zero = std::memchr(field, 0, size);
  if (zero) return QByteArray(field, static_cast<qsizetype>(static_cast<const char*>(zero) - field));
  return platform::CutCp932(QByteArray(field, static_cast<qsizetype>(size)), size - 1);
}

}  // namespace

std::optional<EngineStatus> QueryEngineStatus(const std::string& libraryPath) {
  platform::DynamicLibrary library(libraryPath);
  // A library without the export is no engine: treated like one that does not load.
  auto getStatus = reinterpret_cast<GetStatusProc>(library.Symbol(VELM_ENGINE_STATUS_EXPORT));
  if (!getStatus) return std::nullopt;
  std::array<char, VELM_ENGINE_NAME_SIZE + kSlack> name{};
  std::array<char, VELM_ENGINE_BITMAP_SIZE + kSlack> bitmap{};
  getStatus(name.data(), bitmap.data());
  return EngineStatus{FieldText(name.data(), VELM_ENGINE_NAME_SIZE), FieldText(bitmap.data(), VELM_ENGINE_BITMAP_SIZE)};
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
  std::array<unsigned char, VELM_ENGINE_SCRATCH_SIZE + kSlack> scratch{};
  struct {
    EngineMove record;
    unsigned char slack[kSlack];
  } move{};
  const EngineBoardSize size{cols, rows};
  tekuming(&size, copy.data(), side, &move.record, scratch.data());
  return _Rev{move.record.x, move.record.y, side};
}
