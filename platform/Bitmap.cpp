#include "platform/Bitmap.h"

#include <QBuffer>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

namespace platform {
namespace {

constexpr std::uint32_t kCoreHeader = 12;  // the old OS/2 header: 16-bit sizes
constexpr std::uint32_t kInfoHeader = 40;  // and every later one starts like this

class LittleEndian {
 public:
  explicit LittleEndian(const QByteArray& bytes) : bytes_(bytes) {}
  std::uint32_t U16(qsizetype at) const { return Byte(at) | Byte(at + 1) << 8; }
  std::uint32_t U32(qsizetype at) const { return U16(at) | U16(at + 2) << 16; }
  std::int32_t I32(qsizetype at) const { return static_cast<std::int32_t>(U32(at)); }

 private:
  std::uint32_t Byte(qsizetype at) const { return static_cast<unsigned char>(bytes_[at]); }
  const QByteArray& bytes_;
};

// Whether the file holds every byte its headers speak of.
bool Whole(const QByteArray& bytes) {
  const auto size = static_cast<std::uint64_t>(bytes.size());
  if (size < 14 + 4 || !bytes.startsWith("BM")) return false;
  const LittleEndian le(bytes);
  const std::uint64_t fileSize = le.U32(2), pixelsAt = le.U32(10), header = le.U32(14);
  if (fileSize > size) return false;  // 0 says nothing
  if ((header != kCoreHeader && header < kInfoHeader) || 14 + header > size) return false;

  std::int64_t width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0, imageSize = 0;
  if (header == kCoreHeader) {
    width = le.U16(18), height = le.U16(20), bits = le.U16(24);
  } else {
    width = le.I32(18), height = le.I32(22), bits = le.U16(28), compression = le.U32(30), imageSize = le.U32(34);
  }
  if (width <= 0 || height == 0 || bits == 0 || bits > 32) return false;
  const auto rows = static_cast<std::uint64_t>(std::llabs(height));
  const auto rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  // Run-length coded pictures say their own size; plain ones are rows of whole words.
  constexpr std::uint32_t kRle8 = 1, kRle4 = 2;
  const std::uint64_t pixels = compression == kRle8 || compression == kRle4 ? imageSize : rowBytes * rows;
  return pixelsAt >= 14 + header && pixelsAt + pixels <= size;
}

}  // namespace

std::optional<QImage> DecodeWholeBitmap(const QByteArray& bytes, int maxSide) {
  if (!Whole(bytes)) return std::nullopt;
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "bmp");
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() < 1 || size.height() < 1 || size.width() > maxSide || size.height() > maxSide)
    return std::nullopt;
  QImage picture;
  if (!reader.read(&picture) || picture.isNull()) return std::nullopt;
  return picture;
}

}  // namespace platform
