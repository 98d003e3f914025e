#pragma once
// Face pictures as they travel: bitmap file bytes. Kept beside the socket form, the one part of
// the network that knows images.
#include <QByteArray>
#include <QImage>

#include <optional>

#include "platform/Bitmap.h"

// A face picture as the bitmap bytes that travel; empty for no picture.
QByteArray BitmapBytes(const QImage& picture);
// Bytes from a peer as a face picture: only a bitmap of sensible size is taken; anything else
// (another format, a damaged file, a picture claiming huge dimensions) gives nothing.
std::optional<QImage> PictureFromBytes(const QByteArray& bytes);
inline constexpr int MaxPictureSide = platform::kMaxBitmapSide;  // pixels, either way
