#include "settings/PortText.h"
#include "settings/SaveRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

using namespace settings;

namespace {

std::int32_t readLe32(const SaveRecord::Image& image, std::size_t offset) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(image[offset + i]) << (8 * i);
  return static_cast<std::int32_t>(v);
}

}  // namespace

TEST(SaveRecordLayout, ResetImageIsVersionOneThenZeros) {
  SaveRecord r;
  r.SouWin = 5;
  r.Reserved[3] = 'x';
  r.Reset();
  const SaveRecord::Image image = r.ToImage();
  const std::uint8_t head[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(0, std::memcmp(image.data(), head, 8));
  for (std::size_t i = 8; i < image.size(); ++i) ASSERT_EQ(0, image[i]) << "byte " << i;
}

TEST(SaveRecordLayout, EveryFieldLandsAtItsOffsetLittleEndian) {
  SaveRecord r;
  r.Mask1 = 0x01020304;
  r.Checksum = -2;
  r.PortNo = 8080;
  SetText(r.HostName, QStringLiteral("host"));
  SetText(r.UserName, QStringLiteral("user"));
  SetCharaFile(r, QStringLiteral("face.bmp"));
  r.SouNum = 7;
  r.PeapleWidth = 0x7FFFFFFF;
  r.Reserved[0] = 'R';
  r.Reserved[255] = 'Z';
  const SaveRecord::Image image = r.ToImage();

  EXPECT_EQ(0x04, image[8]);
  EXPECT_EQ(0x01, image[11]);
  EXPECT_EQ(-2, readLe32(image, 16));
  EXPECT_EQ(0, std::memcmp(image.data() + 28, "host", 5));
  EXPECT_EQ(8080, readLe32(image, 44));
  EXPECT_EQ(0, std::memcmp(image.data() + 48, "user", 5));
  EXPECT_EQ(0, std::memcmp(image.data() + 78, "face.bmp", 9));
  EXPECT_EQ(7, readLe32(image, 108));
  EXPECT_EQ(0x7FFFFFFF, readLe32(image, 152));
  EXPECT_EQ('R', image[156]);
  EXPECT_EQ('Z', image[411]);

  const SaveRecord back = SaveRecord::FromBytes(reinterpret_cast<const char*>(image.data()), image.size());
  EXPECT_EQ(r, back);
}

TEST(SaveRecordLayout, ShortAndLongDataReadAsFarAsTheyGo) {
  SaveRecord full;
  full.Reset();
  full.PortNo = 1234;
  full.GamenWidth = 500;
  full.Reserved[10] = 9;
  const SaveRecord::Image image = full.ToImage();
  const auto* bytes = reinterpret_cast<const char*>(image.data());

  const SaveRecord cut = SaveRecord::FromBytes(bytes, 100);
  EXPECT_EQ(1234, cut.PortNo);
  EXPECT_EQ(0, cut.GamenWidth);

  const SaveRecord noReserved = SaveRecord::FromBytes(bytes, 156);
  EXPECT_EQ(500, noReserved.GamenWidth);
  EXPECT_EQ(0, noReserved.Reserved[10]);

  QByteArray longer(reinterpret_cast<const char*>(image.data()), 412);
  longer.append(QByteArray(100, '\x55'));
  EXPECT_EQ(full, SaveRecord::FromBytes(longer.constData(), static_cast<std::size_t>(longer.size())));

  SaveRecord zero;
  EXPECT_EQ(zero, SaveRecord::FromBytes(nullptr, 0));
}

TEST(SaveRecordMasks, RulesWrapAt32Bits) {
  EXPECT_EQ(7, MaskValue(MaskRule::Mask1, 7, 150));
  EXPECT_EQ(150, MaskValue(MaskRule::Mask2, 7, 150));
  EXPECT_EQ(157, MaskValue(MaskRule::Sum, 7, 150));
  EXPECT_EQ(143, MaskValue(MaskRule::AbsDiff, 7, 150));
  EXPECT_EQ(143, MaskValue(MaskRule::AbsDiff, 150, 7));
  EXPECT_EQ(1050, MaskValue(MaskRule::Product, 7, 150));
  EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), MaskValue(MaskRule::Sum, std::numeric_limits<std::int32_t>::max(), 1));
  EXPECT_EQ(0, MaskValue(MaskRule::Product, 0x10000, 0x10000));
}

TEST(SaveRecordMasks, EachCounterGetsItsOwnMaskAndComesBack) {
  SaveRecord r;
  r.Mask1 = 3;
  r.Mask2 = 10;
  r.SouNum = 100;
  r.NetWin = -5;
  r.GamenTop = std::numeric_limits<std::int32_t>::max();
  const SaveRecord plain = r;
  ApplyMasks(r);
  EXPECT_EQ(103, r.SouNum);                                    // Mask1
  EXPECT_EQ(10, r.SouWin);                                     // Mask2
  EXPECT_EQ(13, r.SouLose);                                    // Mask1 + Mask2
  EXPECT_EQ(7, r.NetNum);                                      // |Mask2 - Mask1|
  EXPECT_EQ(25, r.NetWin);                                     // Mask1 * Mask2
  EXPECT_EQ(3, r.NetLose);
  EXPECT_EQ(10, r.GamenLeft);
  EXPECT_EQ(std::numeric_limits<std::int32_t>::min() + 6, r.GamenTop);
  EXPECT_EQ(30, r.GamenWidth);
  EXPECT_EQ(3, r.GamenHeight);
  EXPECT_EQ(10, r.BoardWidth);
  EXPECT_EQ(13, r.PeapleWidth);
  EXPECT_EQ(0, r.PortNo);  // not masked
  RemoveMasks(r);
  EXPECT_EQ(plain, r);
}

TEST(SaveRecordMasks, ChecksumIsPortPlusTwelveFieldsWrapping) {
  SaveRecord r;
  r.PortNo = 10;
  r.SouNum = 1;
  r.PeapleWidth = 2;
  r.Mask1 = 99;  // masks and texts are outside the sum
  SetText(r.UserName, QStringLiteral("x"));
  EXPECT_EQ(13, ComputeChecksum(r));
  r.GamenLeft = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(std::numeric_limits<std::int32_t>::min() + 12, ComputeChecksum(r));
}

TEST(SaveRecordTexts, CutAtACharacterBoundaryToTheFieldWidth) {
  SaveRecord r;
  SetText(r.UserName, QString(16, QChar(0x3042)));  // 32 bytes of "あ"
  EXPECT_EQ(QString(15, QChar(0x3042)), TextOf(r.UserName));
  EXPECT_NE(0, r.UserName[29]);  // fills the field without a zero

  SetText(r.UserName, QStringLiteral("a") + QString(16, QChar(0x3042)));
  EXPECT_EQ(QStringLiteral("a") + QString(14, QChar(0x3042)), TextOf(r.UserName));
  EXPECT_EQ(0, r.UserName[29]);  // the half character is not written

  SetText(r.HostName, QStringLiteral("0123456789abcdefXYZ"));
  EXPECT_EQ(QStringLiteral("0123456789abcdef"), TextOf(r.HostName));
  SetText(r.HostName, QStringLiteral("ab"));
  EXPECT_EQ(QStringLiteral("ab"), TextOf(r.HostName));  // earlier bytes cleared
}

TEST(SaveRecordTexts, CharaFileKeepsOnlyNamesShorterThanItsField) {
  SaveRecord r;
  SetCharaFile(r, QString(29, QChar('c')));
  EXPECT_EQ(QString(29, QChar('c')), TextOf(r.CharaFile));
  SetCharaFile(r, QString(30, QChar('c')));
  EXPECT_EQ(QString(), TextOf(r.CharaFile));
  for (char c : r.CharaFile) ASSERT_EQ(0, c);
  SetCharaFile(r, QString(14, QChar(0x72AC)) + QStringLiteral("a"));  // 29 bytes
  EXPECT_EQ(QString(14, QChar(0x72AC)) + QStringLiteral("a"), TextOf(r.CharaFile));
  SetCharaFile(r, QString(15, QChar(0x72AC)));  // 30 bytes
  EXPECT_TRUE(TextOf(r.CharaFile).isEmpty());
}

TEST(PortText, AcceptsWholeIntegersWithBlanksSignsAndHex) {
  EXPECT_EQ(8080, ParsePortText(QStringLiteral("8080")));
  EXPECT_EQ(8080, ParsePortText(QStringLiteral("   +8080")));
  EXPECT_EQ(-1, ParsePortText(QStringLiteral("-1")));
  EXPECT_EQ(8080, ParsePortText(QStringLiteral("$1F90")));
  EXPECT_EQ(8080, ParsePortText(QStringLiteral("0x1f90")));
  EXPECT_EQ(-16, ParsePortText(QStringLiteral("-$10")));
  EXPECT_EQ(70000, ParsePortText(QStringLiteral("70000")));  // range is the dialog's business
  EXPECT_EQ(std::numeric_limits<std::int32_t>::max(), ParsePortText(QStringLiteral("2147483647")));
  EXPECT_EQ(std::numeric_limits<std::int32_t>::min(), ParsePortText(QStringLiteral("-2147483648")));
  EXPECT_EQ(-1, ParsePortText(QStringLiteral("$FFFFFFFF")));
}

TEST(PortText, RefusesEverythingElse) {
  for (const char* bad : {"", "   ", "abc", "80a", "8080 ", "80 80", "+", "-", "$", "0x", "$G1", "2147483648",
                          "-2147483649", "$100000000", "1.5", "８０"})
    EXPECT_FALSE(ParsePortText(QString::fromUtf8(bad)).has_value()) << bad;
}
