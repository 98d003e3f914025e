#include "yomi/weights/WeightsFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace yomi {

namespace {

constexpr char kMagic[] = "YOMIW1";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;

void PutNumber(std::vector<std::uint8_t>& out, std::uint32_t n) {
  while (n >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(n | 0x80));
    n >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(n));
}

std::optional<std::uint32_t> TakeNumber(const std::vector<std::uint8_t>& in, std::size_t& at) {
  std::uint32_t n = 0;
  for (int shift = 0; shift < 35 && at < in.size(); shift += 7) {
    const std::uint8_t byte = in[at++];
    n |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
    if (!(byte & 0x80)) return n;
  }
  return std::nullopt;
}

// Signed values as unsigned ones, small magnitudes first: 0, -1, 1, -2, ...
std::uint32_t Zigzag(std::int16_t v) { return v < 0 ? 2u * static_cast<std::uint32_t>(-v) - 1 : 2u * static_cast<std::uint32_t>(v); }
std::int16_t Unzigzag(std::uint32_t n) {
  return static_cast<std::int16_t>(n & 1 ? -static_cast<std::int32_t>((n + 1) / 2) : static_cast<std::int32_t>(n / 2));
}

}  // namespace

std::vector<std::uint8_t> PackWeights(const std::vector<std::int16_t>& weights) {
  std::vector<std::uint8_t> out(kMagic, kMagic + kMagicSize);
  PutNumber(out, static_cast<std::uint32_t>(weights.size()));
  std::uint32_t zeros = 0;
  for (const std::int16_t w : weights) {
    if (w == 0) {
      ++zeros;
      continue;
    }
    PutNumber(out, zeros);
    PutNumber(out, Zigzag(w));
    zeros = 0;
  }
  return out;
}

std::optional<std::vector<std::int16_t>> UnpackWeights(const std::vector<std::uint8_t>& packed) {
  if (packed.size() < kMagicSize || std::memcmp(packed.data(), kMagic, kMagicSize) != 0) return std::nullopt;
  std::size_t at = kMagicSize;
  const auto count = TakeNumber(packed, at);
  if (!count || *count > (1u << 26)) return std::nullopt;
  std::vector<std::int16_t> weights(*count, 0);
  for (std::size_t filled = 0; at < packed.size();) {
    const auto zeros = TakeNumber(packed, at);
    const auto value = TakeNumber(packed, at);
    if (!zeros || !value || *zeros >= weights.size() - filled || *value > 0xFFFF) return std::nullopt;
    filled += *zeros;
    weights[filled++] = Unzigzag(*value);
  }
  return weights;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const char* path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace yomi
