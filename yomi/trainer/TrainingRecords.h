#pragma once
// Positions with the result the game reached from them, as self-play writes and the trainer
// reads them: 17 bytes each, the mover's stones, the opponent's (both little-endian) and the
// final stone difference from the mover's side.
#include <cstdint>
#include <string>
#include <vector>

#include "yomi/Bitboard.h"

namespace yomi {

struct TrainingRecord {
  Position position;
  std::int8_t result;
};

bool AppendRecords(const std::string& path, const std::vector<TrainingRecord>& records);
std::vector<TrainingRecord> ReadRecords(const std::string& path);

}  // namespace yomi
