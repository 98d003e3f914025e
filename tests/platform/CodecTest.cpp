#include <gtest/gtest.h>

#include "platform/Codec.h"

using namespace platform;

TEST(Codec, EncodesKatakanaAndAsciiToShiftJis) {
  EXPECT_EQ(ToCp932(QStringLiteral(u"ルリカ")), QByteArray("\x83\x8B\x83\x8A\x83\x4A"));
  EXPECT_EQ(ToCp932("Rurika.bmp"), QByteArray("Rurika.bmp"));
  EXPECT_EQ(ToCp932(QStringLiteral(u"青：")), QByteArray("\x90\xC2\x81\x46"));
  // Microsoft's variant: the wave dash as code page 932 writes it.
  EXPECT_EQ(ToCp932(QStringLiteral(u"～")), QByteArray("\x81\x60"));
}

TEST(Codec, DecodesUpToFirstNulAndNeverPastTheField) {
  const char field[6] = {'\x83', '\x8B', 'A', '\0', 'B', 'C'};
  EXPECT_EQ(FromCp932(field, sizeof field), QStringLiteral(u"ルA"));
  const char full[4] = {'a', 'b', 'c', 'd'};  // no terminator: the whole field
  EXPECT_EQ(FromCp932(full, 4), QString("abcd"));
  EXPECT_EQ(FromCp932(full, 2), QString("ab"));
  EXPECT_EQ(FromCp932(nullptr, 5), QString());
}

TEST(Codec, CutsAtCharacterBoundary) {
  const QString text = QStringLiteral(u"aルリ");  // 1 + 2 + 2 bytes
  EXPECT_EQ(ToCp932Cut(text, 5).size(), 5);
  EXPECT_EQ(ToCp932Cut(text, 4), QByteArray("a\x83\x8B"));  // never half of リ
  EXPECT_EQ(ToCp932Cut(text, 2), QByteArray("a"));
  EXPECT_EQ(ToCp932Cut(text, 0), QByteArray());
  // Half-width katakana are single bytes.
  EXPECT_EQ(ToCp932Cut(QStringLiteral(u"ｱｲｳ"), 2), QByteArray("\xB1\xB2"));
}

TEST(Codec, RoundTripsJapaneseText) {
  const QString text = QStringLiteral(u"データが不正に書き換えられているためデータが初期値に戻りました");
  EXPECT_EQ(FromCp932(ToCp932(text)), text);
}

TEST(Codec, TextIsWholeCharactersOnly) {
  EXPECT_TRUE(IsCp932Text(ToCp932(QStringLiteral(u"ルリカ abc ｱ"))));
  EXPECT_FALSE(IsCp932Text(QByteArray()));
  EXPECT_FALSE(IsCp932Text(QByteArray("ab\x83", 3)));    // a lead byte with nothing after it
  EXPECT_FALSE(IsCp932Text(QByteArray("a\xFF" "b", 3)));  // starts no character
  EXPECT_FALSE(IsCp932Text(QByteArray("a\x83\x20", 3)));  // a lead byte and no trail byte
}
