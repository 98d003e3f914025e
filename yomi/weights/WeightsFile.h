#pragma once
// The checked-in form of the trained weights. Most table entries stay zero (situations no
// training game reached), so the file holds "YOMIW1", the number of weights, and then for each
// non-zero weight the run of zeros before it and the weight itself, as variable-length numbers.
#include <cstdint>
#include <optional>
#include <vector>

namespace yomi {

std::vector<std::uint8_t> PackWeights(const std::vector<std::int16_t>& weights);
// Nothing for a damaged or truncated file.
std::optional<std::vector<std::int16_t>> UnpackWeights(const std::vector<std::uint8_t>& packed);

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const char* path);
bool WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes);

}  // namespace yomi
