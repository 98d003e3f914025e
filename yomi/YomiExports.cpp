// The two exports and nothing else. Built once per character: YOMI_LEVEL picks the level.
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "contract/EngineContract.h"
#include "yomi/ContractChoice.h"
#include "yomi/Levels.h"
#include "yomi/weights/BuiltInWeights.h"

namespace {

const yomi::Level& ThisLevel() { return yomi::LevelAt(YOMI_LEVEL); }

// YOMI_TIME_SCALE, a number above 0 and at most 1, shortens every time budget by that factor.
// Only tests and benchmarks set it, to run thousands of moves of the shipped libraries quickly;
// anything else (unset, unreadable, out of range) leaves the budgets as they are, so it can
// never make a move slower.
double TimeScale() {
  const char* text = std::getenv("YOMI_TIME_SCALE");
  if (!text) return 1.0;
  char* end = nullptr;
  const double scale = std::strtod(text, &end);
  return end != text && scale > 0.0 && scale <= 1.0 ? scale : 1.0;
}

}  // namespace

extern "C" VELM_ENGINE_EXPORT int32_t VELM_ENGINE_CALL Tekuming(const EngineBoardSize* size, EngineBoard board,
                                                                int32_t side, EngineMove* move,
                                                                unsigned char* /*scratch: not ours to touch*/) {
  if (!move) return 0;
  try {
    const yomi::ThinkOptions options{TimeScale(), static_cast<std::uint32_t>(std::time(nullptr)), yomi::BuiltInWeights()};
    if (const auto chosen = yomi::ChooseForContract(ThisLevel(), size, board, side, options)) {
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
  const yomi::Level& level = ThisLevel();
  if (name) std::strncpy(name, level.name, VELM_ENGINE_NAME_SIZE - 1);
  if (bitmap) std::strncpy(bitmap, level.picture, VELM_ENGINE_BITMAP_SIZE - 1);
  return 0;
}
