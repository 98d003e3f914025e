#include "net/FacePicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

QByteArray BitmapBytes(const QImage& picture) {
  if (picture.isNull()) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(picture)) return {};
  return bytes;
}

std::optional<QImage> PictureFromBytes(const QByteArray& bytes) {
  // A bitmap file starts with "BM"; nothing else is even handed to a decoder.
  if (bytes.size() < 26 || !bytes.startsWith("BM")) return std::nullopt;
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "bmp");
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() < 1 || size.height() < 1 || size.width() > MaxPictureSide ||
      size.height() > MaxPictureSide)
    return std::nullopt;
  QImage picture;
  if (!reader.read(&picture) || picture.isNull()) return std::nullopt;
  return picture;
}
