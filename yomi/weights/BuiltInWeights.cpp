#include "yomi/weights/BuiltInWeights.h"

#include <bit>

#include "yomi/Patterns.h"
#include "yomi_weights_stamp.h"  // generated beside the raw table; changes with it

// The raw little-endian table, included byte for byte into the read-only data at build time.
__asm__(
    ".pushsection .rodata\n"
    ".balign 16\n"
    ".globl yomi_pattern_weights\n"
    ".hidden yomi_pattern_weights\n"
    "yomi_pattern_weights:\n"
    ".incbin \"" YOMI_WEIGHTS_RAW "\"\n"
    ".globl yomi_pattern_weights_end\n"
    ".hidden yomi_pattern_weights_end\n"
    "yomi_pattern_weights_end:\n"
    ".popsection\n");

extern "C" __attribute__((visibility("hidden"))) const std::int16_t yomi_pattern_weights[];
extern "C" __attribute__((visibility("hidden"))) const std::int16_t yomi_pattern_weights_end[];

namespace yomi {

static_assert(YOMI_WEIGHTS_CHECKSUM != 0);
static_assert(std::endian::native == std::endian::little, "the table is stored little-endian");

const std::int16_t* BuiltInWeights() {
  return yomi_pattern_weights_end - yomi_pattern_weights == kTotalWeights ? yomi_pattern_weights : nullptr;
}

}  // namespace yomi
