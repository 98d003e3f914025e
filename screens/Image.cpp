#include "screens/Image.h"

#include <QBitmap>
#include <QPixmap>

#include "platform/Bitmap.h"
#include "platform/RegularFile.h"

namespace {
// The largest picture taken, 32 bits a pixel, with room for the headers.
constexpr qint64 kMaxPictureFileBytes = 4LL * platform::kMaxBitmapSide * platform::kMaxBitmapSide + 4096;
}

TImage::TImage(QWidget* parent) : QLabel(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAlignment(Qt::AlignCenter);
}

std::optional<QImage> TImage::PictureOf(const QString& path) {
  const platform::RegularFileRead file = platform::ReadRegularFile(path, kMaxPictureFileBytes);
  if (file.outcome != platform::RegularFileRead::Outcome::Read) return std::nullopt;
  return platform::DecodeWholeBitmap(file.bytes);
}

bool TImage::LoadFromFile(const QString& path) {
  const std::optional<QImage> loaded = PictureOf(path);
  if (!loaded) return false;
  SetPicture(*loaded);
  return true;
}

void TImage::SetPicture(const QImage& picture) {
  picture_ = picture;
  Refresh();
}

void TImage::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Refresh();
}

void TImage::Refresh() {
  if (picture_.isNull() || width() <= 0 || height() <= 0) {
    clear();
    return;
  }
  QPixmap shown = QPixmap::fromImage(picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
  if (Transparent) {
    const QRgb key = picture_.pixel(0, picture_.height() - 1);
    QImage scaled = shown.toImage();
    shown.setMask(QBitmap::fromImage(scaled.createMaskFromColor(key, Qt::MaskInColor)));
  }
  setPixmap(shown);
}
