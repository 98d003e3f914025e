// The two exports and nothing else; the choice itself lives in TekumChoice.
#include <cstring>
#include <ctime>

#include "engine/TekumChoice.h"
#include "contract/EngineContract.h"

namespace {

// "ルリカ" in code page 932.
constexpr char kName[] = "\x83\x8B\x83\x8A\x83\x4A";
constexpr char kBitmap[] = "Rurika.bmp";
static_assert(sizeof kName <= VELM_ENGINE_NAME_SIZE && sizeof kBitmap <= VELM_ENGINE_BITMAP_SIZE);

// The contract starts at 3 x 3 (the weight map reaches the third-last row and column); anything
// else, or a board with a missing column, is left alone rather than read.
bool Acceptable(const EngineBoardSize* size, EngineBoard board) {
  if (!size || !board || size->columns < 3 || size->rows < 3) return false;
  for (int32_t x = 0; x < size->columns; ++x)
    if (!board[x]) return false;
  return true;
}

}  // namespace

extern "C" VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL Tekuming(const EngineBoardSize* size, EngineBoard board,
                                                                int32_t side, EngineMove* move,
                                                                unsigned char* /*scratch: not ours to touch*/) {
  if (!move || !Acceptable(size, board)) return 0;
  try {
    // Seeded afresh every call: two calls in the same second toss the same coins.
    const auto seed = static_cast<std::uint32_t>(std::time(nullptr));
    const auto chosen = tekum::ChooseMove({size->columns, size->rows, board}, side, seed);
    if (chosen) {
      move->x = chosen->x;
      move->y = chosen->y;
      move->value = chosen->gain;
    }
  } catch (...) {
    // Out of memory: no choice, the move record stays as the caller filled it.
  }
  return 0;
}

extern "C" VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL GetStatus(char* name, char* bitmap) {
  if (name) std::memcpy(name, kName, sizeof kName);
  if (bitmap) std::memcpy(bitmap, kBitmap, sizeof kBitmap);
  return 0;
}
