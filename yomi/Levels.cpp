#include "yomi/Levels.h"

#include <string_view>

#include "contract/EngineContract.h"

namespace yomi {

namespace {

// Names: つぼみ the bud, うらら the spring day, 夜桜 the cherry in full bloom at night.
constexpr Level kLevels[kLevelCount] = {
    // ツボミ: three moves ahead with the plain judgement and a loose hand (up to two stones of
    // noise on each move's value); the last 8 empties perfectly.
    {"\x83\x63\x83\x7B\x83\x7E", "Tsubomi.bmp", Judgement::Basic, 3, false, 8, 8, 150, 300, 2 * 128, 14},
    // ウララ: two moves ahead with the trained judgement; the last 14 empties perfectly.
    {"\x83\x45\x83\x89\x83\x89", "Urara.bmp", Judgement::Patterns, 2, false, 14, 14, 300, 600, 0, 16},
    // ヨザクラ: as deep as the time allows; plays the last 22 empties to win, the last 20 perfectly.
    {"\x83\x88\x83\x55\x83\x4E\x83\x89", "Yozakura.bmp", Judgement::Patterns, 60, true, 20, 22, 900, 4000, 0, 19},
};

constexpr bool FitTheContract() {
  for (const Level& level : kLevels)
    if (std::string_view(level.name).size() >= VELM_ENGINE_NAME_SIZE ||
        std::string_view(level.picture).size() >= VELM_ENGINE_BITMAP_SIZE)
      return false;
  return true;
}
static_assert(FitTheContract(), "names and picture file names fit the caller's buffers");

}  // namespace

const Level& LevelAt(int index) { return kLevels[index < 0 ? 0 : index >= kLevelCount ? kLevelCount - 1 : index]; }

}  // namespace yomi
