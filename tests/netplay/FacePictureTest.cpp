// Face pictures from peers: only sensible bitmaps are taken.
#include <QBuffer>
#include <gtest/gtest.h>

#include "net/FacePicture.h"

TEST(FacePicture, OnlySensibleBitmapsBecomeFaces) {
  QImage face(32, 32, QImage::Format_RGB32);
  face.fill(QColor(10, 200, 30));
  const QByteArray bytes = BitmapBytes(face);
  ASSERT_TRUE(bytes.startsWith("BM"));
  const auto back = PictureFromBytes(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixel(5, 5), face.pixel(5, 5));
  EXPECT_TRUE(BitmapBytes(QImage()).isEmpty());

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  face.save(&buffer, "PNG");
  EXPECT_FALSE(PictureFromBytes(png)) << "another format is not taken";
  EXPECT_FALSE(PictureFromBytes(bytes.left(40))) << "a cut bitmap";
  EXPECT_FALSE(PictureFromBytes(QByteArray(4096, '\0')));

  // A header claiming a picture of 60000 x 60000 pixels is refused before anything is made.
  QByteArray huge = bytes;
  const std::int32_t side = 60000;
  std::memcpy(huge.data() + 18, &side, 4);
  std::memcpy(huge.data() + 22, &side, 4);
  EXPECT_FALSE(PictureFromBytes(huge));
}
