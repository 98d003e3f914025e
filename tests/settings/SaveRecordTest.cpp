#include "settings/SaveRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace settings;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(SaveRecordImage, FieldsLandAtTheirOffsetsLittleEndianAndComeBack) {
  SaveRecord r;
  r.Mask1 = 0x01020304;
  r.PortNo = 8080;
  SetText(r.HostName, QStringLiteral("host"));
  SetCharaFile(r, QStringLiteral("face.bmp"));
  r.SouNum = 7;
  r.PeapleWidth = -2;
  r.Reserved[255] = 'Z';
  const SaveRecord::Image image = r.ToImage();
  const std::uint8_t mask1[4] = {4, 3, 2, 1}, port[4] = {0x90, 0x1F, 0, 0}, minus2[4] = {0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(0, std::memcmp(image.data() + 8, mask1, 4));
  EXPECT_EQ(0, std::memcmp(image.data() + 28, "host", 5));
  EXPECT_EQ(0, std::memcmp(image.data() + 44, port, 4));
  EXPECT_EQ(0, std::memcmp(image.data() + 78, "face.bmp", 9));
  EXPECT_EQ(7, image[108]);
  EXPECT_EQ(0, std::memcmp(image.data() + 152, minus2, 4));
  EXPECT_EQ('Z', image[411]);
  EXPECT_EQ(r, SaveRecord::FromBytes(reinterpret_cast<const char*>(image.data()), image.size()));
}

TEST(SaveRecordMasks, EachFieldGetsItsOwnMaskWrappingAndComesBack) {
  SaveRecord r;
  r.Mask1 = 3;
  r.Mask2 = 10;
  r.SouNum = 100;
  r.GamenTop = kMax;
  const SaveRecord plain = r;
  ApplyMasks(r);
  const std::int32_t expected[12] = {103, 10, 13, 7, 30, 3, 10, kMin + 6, 30, 3, 10, 13};
  const std::int32_t actual[12] = {r.SouNum,    r.SouWin,   r.SouLose,    r.NetNum,      r.NetWin,     r.NetLose,
                                   r.GamenLeft, r.GamenTop, r.GamenWidth, r.GamenHeight, r.BoardWidth, r.PeapleWidth};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(expected[i], actual[i]) << "field " << i;
  EXPECT_EQ(143, MaskValue(MaskRule::AbsDiff, 150, 7));
  EXPECT_EQ(0, MaskValue(MaskRule::Product, 0x10000, 0x10000));
  RemoveMasks(r);
  EXPECT_EQ(plain, r);
}

TEST(SaveRecordTexts, CutAtACharacterBoundaryAndCharaFileOnlyWhenShorterThan30) {
  const QChar a(0x3042);  // two bytes in code page 932
  SaveRecord r;
  SetText(r.UserName, QString(16, a));
  EXPECT_EQ(QString(15, a), TextOf(r.UserName));  // fills all 30 bytes, no zero
  SetText(r.UserName, QStringLiteral("x") + QString(16, a));
  EXPECT_EQ(QStringLiteral("x") + QString(14, a), TextOf(r.UserName));
  EXPECT_EQ(0, r.UserName[29]);  // no half character
  SetText(r.HostName, QStringLiteral("0123456789abcdefXYZ"));
  EXPECT_EQ(QStringLiteral("0123456789abcdef"), TextOf(r.HostName));

  SetCharaFile(r, QString(14, a) + QStringLiteral("b"));  // 29 bytes
  EXPECT_EQ(QString(14, a) + QStringLiteral("b"), TextOf(r.CharaFile));
  SetCharaFile(r, QString(15, a));  // 30 bytes: stored empty
  for (char c : r.CharaFile) ASSERT_EQ(0, c);
}

}  // namespace
