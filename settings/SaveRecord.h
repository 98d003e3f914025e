#pragma once
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <variant>

// The image of velm.dat: 412 bytes, little-endian, texts in code page 932, zero-padded.
// In memory, between loading and writing, the twelve masked fields hold their plain values;
// the board keeps pointers to the six counters, so they are plain int32 members.
struct SaveRecord {
  double Version = 0.0;
  std::int32_t Mask1 = 0;
  std::int32_t Mask2 = 0;
  std::int32_t Checksum = 0;
  std::int32_t NetConnect = 0;
  std::int32_t Oya = 0;
  std::array<char, 16> HostName{};
  std::int32_t PortNo = 0;
  std::array<char, 30> UserName{};
  std::array<char, 30> CharaFile{};
  std::int32_t SouNum = 0;
  std::int32_t SouWin = 0;
  std::int32_t SouLose = 0;
  std::int32_t NetNum = 0;
  std::int32_t NetWin = 0;
  std::int32_t NetLose = 0;
  std::int32_t GamenLeft = 0;
  std::int32_t GamenTop = 0;
  std::int32_t GamenWidth = 0;
  std::int32_t GamenHeight = 0;
  std::int32_t BoardWidth = 0;
  std::int32_t PeapleWidth = 0;
  std::array<char, 256> Reserved{};  // kept as found

  static constexpr std::size_t kSize = 412;
  using Image = std::array<std::uint8_t, kSize>;

  // All zero, then Version 1.0.
  void Reset();

  // The file image of the fields as they stand (no masking is applied here).
  Image ToImage() const;
  // Reads up to kSize bytes from offset 0; whatever the data lacks stays zero, extra bytes are ignored.
  static SaveRecord FromBytes(const char* data, std::size_t size);

  bool operator==(const SaveRecord&) const = default;
};

namespace settings {

// What is added to a masked field in the file.
enum class MaskRule { None, Mask1, Mask2, Sum, AbsDiff, Product };

// One field of the image. The member says where it lives in memory and, by its type, how it is
// coded: double (8 bytes), int32 (4 bytes) or a byte array of its own width.
struct SaveField {
  using Member = std::variant<double SaveRecord::*, std::int32_t SaveRecord::*, std::array<char, 16> SaveRecord::*,
                              std::array<char, 30> SaveRecord::*, std::array<char, 256> SaveRecord::*>;
  const char* name;
  std::size_t offset;
  std::size_t width;
  MaskRule mask;
  Member member;
};

// Every field in file order; codec, masks and checksum walk this table.
extern const std::array<SaveField, 23> kSaveFields;

// The value added to a field under a rule; 32-bit arithmetic that wraps.
std::int32_t MaskValue(MaskRule rule, std::int32_t mask1, std::int32_t mask2);

// Adds (or removes) every masked field's mask, using the record's Mask1 and Mask2.
void ApplyMasks(SaveRecord& record);
void RemoveMasks(SaveRecord& record);

// PortNo plus the twelve masked fields in their plain values, modulo 2^32.
std::int32_t ComputeChecksum(const SaveRecord& plain);

// Texts of the record: read up to the first zero (never past the field), write cut at a
// character boundary to the field's width (a text that fills its field has no zero).
QString TextOf(const char* field, std::size_t width);
void SetText(char* field, std::size_t width, const QString& text);
template <std::size_t N>
QString TextOf(const std::array<char, N>& field) {
  return TextOf(field.data(), N);
}
template <std::size_t N>
void SetText(std::array<char, N>& field, const QString& text) {
  SetText(field.data(), N, text);
}

// The chosen picture's file name (no folder): stored when shorter than 30 bytes and written
// wholly in code page 932, else the field is left empty, so a stored name is always whole,
// zero-terminated and the name of that file.
void SetCharaFile(SaveRecord& record, const QString& fileName);

}  // namespace settings
