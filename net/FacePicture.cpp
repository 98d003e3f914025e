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
  return platform::DecodeWholeBitmap(bytes, MaxPictureSide);
}
