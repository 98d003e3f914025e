#pragma once
#include <QByteArray>
#include <QImage>

#include <optional>

namespace platform {

inline constexpr int kMaxBitmapSide = 1024;  // pixels, either way

// A BMP file's bytes as a picture, whole or not at all. The headers must promise no more bytes
// than there are (a file cut short would be drawn as noise), and the picture must be of
// sensible size; anything else (another format, a damaged file) gives nothing.
std::optional<QImage> DecodeWholeBitmap(const QByteArray& bytes, int maxSide = kMaxBitmapSide);

}  // namespace platform
