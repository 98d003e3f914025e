#include "settings/SaveRecord.h"

#include "platform/Codec.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <cstring>
#include <type_traits>

namespace settings {
namespace {

using R = SaveRecord;

constexpr std::array<SaveField, 23> kTable{{
    {"Version", 0, 8, MaskRule::None, &R::Version},
    {"Mask1", 8, 4, MaskRule::None, &R::Mask1},
    {"Mask2", 12, 4, MaskRule::None, &R::Mask2},
    {"Checksum", 16, 4, MaskRule::None, &R::Checksum},
    {"NetConnect", 20, 4, MaskRule::None, &R::NetConnect},
    {"Oya", 24, 4, MaskRule::None, &R::Oya},
    {"HostName", 28, 16, MaskRule::None, &R::HostName},
    {"PortNo", 44, 4, MaskRule::None, &R::PortNo},
    {"UserName", 48, 30, MaskRule::None, &R::UserName},
    {"CharaFile", 78, 30, MaskRule::None, &R::CharaFile},
    {"SouNum", 108, 4, MaskRule::Mask1, &R::SouNum},
    {"SouWin", 112, 4, MaskRule::Mask2, &R::SouWin},
    {"SouLose", 116, 4, MaskRule::Sum, &R::SouLose},
    {"NetNum", 120, 4, MaskRule::AbsDiff, &R::NetNum},
    {"NetWin", 124, 4, MaskRule::Product, &R::NetWin},
    {"NetLose", 128, 4, MaskRule::Mask1, &R::NetLose},
    {"GamenLeft", 132, 4, MaskRule::Mask2, &R::GamenLeft},
    {"GamenTop", 136, 4, MaskRule::AbsDiff, &R::GamenTop},
    {"GamenWidth", 140, 4, MaskRule::Product, &R::GamenWidth},
    {"GamenHeight", 144, 4, MaskRule::Mask1, &R::GamenHeight},
    {"BoardWidth", 148, 4, MaskRule::Mask2, &R::BoardWidth},
    {"PeapleWidth", 152, 4, MaskRule::Sum, &R::PeapleWidth},
    {"Reserved", 156, 256, MaskRule::None, &R::Reserved},
}};

template <typename T>
constexpr std::size_t codedWidth(T SaveRecord::*) {
  return sizeof(T);
}

// The table has no gaps, each width matches its member's coding, and only int32 fields are masked.
constexpr bool tableIsConsistent() {
  std::size_t next = 0;
  int masked = 0;
  for (const SaveField& f : kTable) {
    if (f.offset != next) return false;
    if (std::visit([](auto m) { return codedWidth(m); }, f.member) != f.width) return false;
    if (f.mask != MaskRule::None) {
      if (!std::holds_alternative<std::int32_t SaveRecord::*>(f.member)) return false;
      ++masked;
    }
    next += f.width;
  }
  return next == SaveRecord::kSize && masked == 12;
}
static_assert(tableIsConsistent(), "velm.dat layout table");
static_assert(kTable[10].offset == 108 && kTable[21].offset == 152 && kTable[22].offset == 156);
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);

void putLe(std::uint8_t* out, std::uint64_t v, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint64_t getLe(const std::uint8_t* in, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return v;
}

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

template <typename Fn>
void forEachMasked(Fn fn) {
  for (const SaveField& f : kTable)
    if (f.mask != MaskRule::None) fn(f.mask, std::get<std::int32_t SaveRecord::*>(f.member));
}

}  // namespace

const std::array<SaveField, 23> kSaveFields = kTable;

std::int32_t MaskValue(MaskRule rule, std::int32_t mask1, std::int32_t mask2) {
  switch (rule) {
    case MaskRule::None: return 0;
    case MaskRule::Mask1: return mask1;
    case MaskRule::Mask2: return mask2;
    case MaskRule::Sum: return wrapAdd(mask1, mask2);
    case MaskRule::AbsDiff: {
      const std::int32_t d = wrapSub(mask2, mask1);
      return d < 0 ? wrapSub(0, d) : d;
    }
    case MaskRule::Product:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(mask1) * static_cast<std::uint32_t>(mask2));
  }
  return 0;
}

void ApplyMasks(SaveRecord& record) {
  forEachMasked([&](MaskRule rule, std::int32_t SaveRecord::*m) {
    record.*m = wrapAdd(record.*m, MaskValue(rule, record.Mask1, record.Mask2));
  });
}

void RemoveMasks(SaveRecord& record) {
  forEachMasked([&](MaskRule rule, std::int32_t SaveRecord::*m) {
    record.*m = wrapSub(record.*m, MaskValue(rule, record.Mask1, record.Mask2));
  });
}

std::int32_t ComputeChecksum(const SaveRecord& plain) {
  std::int32_t sum = plain.PortNo;
  forEachMasked([&](MaskRule, std::int32_t SaveRecord::*m) { sum = wrapAdd(sum, plain.*m); });
  return sum;
}

QString TextOf(const char* field, std::size_t width) { return platform::FromCp932(field, width); }

void SetText(char* field, std::size_t width, const QString& text) {
  std::memset(field, 0, width);
  const QByteArray bytes = platform::ToCp932Cut(text, width);
  std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SetCharaFile(SaveRecord& record, const QString& fileName) {
  record.CharaFile.fill(0);
  // A name that would come back as another name is not kept either.
  const QByteArray bytes = platform::ToCp932(fileName);
  if (platform::FitsCp932(fileName) && static_cast<std::size_t>(bytes.size()) < record.CharaFile.size())
    std::memcpy(record.CharaFile.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace settings

void SaveRecord::Reset() {
  *this = SaveRecord{};
  Version = 1.0;
}

SaveRecord::Image SaveRecord::ToImage() const {
  Image image{};
  for (const settings::SaveField& f : settings::kSaveFields) {
    std::uint8_t* out = image.data() + f.offset;
    std::visit(
        [&](auto m) {
          using T = std::remove_cvref_t<decltype(this->*m)>;
          if constexpr (std::is_same_v<T, double>)
            settings::putLe(out, std::bit_cast<std::uint64_t>(this->*m), 8);
          else if constexpr (std::is_same_v<T, std::int32_t>)
            settings::putLe(out, static_cast<std::uint32_t>(this->*m), 4);
          else
            std::memcpy(out, (this->*m).data(), f.width);
        },
        f.member);
  }
  return image;
}

SaveRecord SaveRecord::FromBytes(const char* data, std::size_t size) {
  Image image{};
  if (data) std::memcpy(image.data(), data, std::min(size, kSize));
  SaveRecord r;
  for (const settings::SaveField& f : settings::kSaveFields) {
    const std::uint8_t* in = image.data() + f.offset;
    std::visit(
        [&](auto m) {
          using T = std::remove_cvref_t<decltype(r.*m)>;
          if constexpr (std::is_same_v<T, double>)
            r.*m = std::bit_cast<double>(settings::getLe(in, 8));
          else if constexpr (std::is_same_v<T, std::int32_t>)
            r.*m = static_cast<std::int32_t>(static_cast<std::uint32_t>(settings::getLe(in, 4)));
          else
            std::memcpy((r.*m).data(), in, f.width);
        },
        f.member);
  }
  return r;
}
