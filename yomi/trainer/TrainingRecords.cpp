#include "yomi/trainer/TrainingRecords.h"

#include <array>
#include <fstream>

namespace yomi {

namespace {

constexpr std::size_t kRecordSize = 17;

void PutBits(std::uint8_t* out, Bits b) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(b >> (8 * i));
}

Bits TakeBits(const std::uint8_t* in) {
  Bits b = 0;
  for (int i = 0; i < 8; ++i) b |= static_cast<Bits>(in[i]) << (8 * i);
  return b;
}

}  // namespace

bool AppendRecords(const std::string& path, const std::vector<TrainingRecord>& records) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  for (const TrainingRecord& record : records) {
    std::array<std::uint8_t, kRecordSize> bytes;
    PutBits(bytes.data(), record.position.own);
    PutBits(bytes.data() + 8, record.position.opp);
    bytes[16] = static_cast<std::uint8_t>(record.result);
    out.write(reinterpret_cast<const char*>(bytes.data()), kRecordSize);
  }
  return static_cast<bool>(out);
}

std::vector<TrainingRecord> ReadRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<TrainingRecord> records;
  std::array<std::uint8_t, kRecordSize> bytes;
  while (in.read(reinterpret_cast<char*>(bytes.data()), kRecordSize))
    records.push_back({{TakeBits(bytes.data()), TakeBits(bytes.data() + 8)}, static_cast<std::int8_t>(bytes[16])});
  return records;
}

}  // namespace yomi
