// The record's bytes, checked against records built by hand at every offset.
#include <gtest/gtest.h>

#include <cstring>

#include "WirePeer.h"
#include "net/NetRecord.h"

namespace {

wire::Bytes BytesOf(const TNetRecord& r) {
  wire::Bytes b;
  std::memcpy(b.data(), r.data(), 256);
  return b;
}

TNetRecord RecordOf(const wire::Bytes& b) { return TNetRecord::FromBytes(b.data()); }

TEST(NetRecordLayout, CommonFieldsSitAtTheirOffsetsLittleEndian) {
  TNetRecord r;
  r.SetKind(0x1234);
  r.SetTo(0xFFFF);
  r.SetSub(0x0506);
  r.SetArg(0x0708);
  r.SetNumber(-2);
  r.SetName(QStringLiteral("Alice"));
  r.SetText(QStringLiteral("hello"));

  wire::Bytes want{};
  wire::Put16(want, 0, 0x1234);
  wire::Put16(want, 2, 0xFFFF);
  wire::Put16(want, 4, 0x0506);
  wire::Put16(want, 6, 0x0708);
  wire::Put32(want, 8, -2);
  wire::PutText(want, 12, "Alice");
  wire::PutText(want, 42, "hello");
  EXPECT_EQ(BytesOf(r), want);
  EXPECT_EQ(want[0], 0x34);  // low byte first
  EXPECT_EQ(want[8], 0xFE);

  const TNetRecord back = RecordOf(want);
  EXPECT_EQ(back.Kind(), 0x1234);
  EXPECT_EQ(back.To(), 0xFFFF);
  EXPECT_EQ(back.Sub(), 0x0506);
  EXPECT_EQ(back.Arg(), 0x0708);
  EXPECT_EQ(back.Number(), -2);
  EXPECT_EQ(back.Name(), QStringLiteral("Alice"));
  EXPECT_EQ(back.Text(), QStringLiteral("hello"));
}

TEST(NetRecordLayout, KindAndSubKindCodes) {
  EXPECT_EQ(mkJoin, 2);
  EXPECT_EQ(mkChat, 3);
  EXPECT_EQ(mkPrivate, 4);
  EXPECT_EQ(mkUserList, 5);
  EXPECT_EQ(mkGameState, 200);
  EXPECT_EQ(mkGame, 201);
  EXPECT_EQ(mkPlayerNames, 202);
  EXPECT_EQ(mkPicture, 203);
  EXPECT_EQ(mkLeave, 999);
  EXPECT_EQ(gsMoves, 1);
  EXPECT_EQ(gsInvite, 3);
  EXPECT_EQ(gsReset, 4);
  EXPECT_EQ(gsStatsRequest, 5);
  EXPECT_EQ(gsStatsReply, 6);
  EXPECT_EQ(ppBegin, 1);
  EXPECT_EQ(ppChunk, 2);
  EXPECT_EQ(ppEnd, 3);
}

TEST(NetRecordLayout, MoveEntriesAreTwentyRevsFromOffsetEight) {
  wire::Bytes b = wire::Game(1, 0, 20);
  for (int i = 0; i < 20; ++i) {
    wire::Put32(b, 8 + 12 * i, i);
    wire::Put32(b, 12 + 12 * i, 7 - i % 8);
    wire::Put32(b, 16 + 12 * i, 1 + i % 2);
  }
  const TNetRecord r = RecordOf(b);
  ASSERT_EQ(r.MoveCount(), 20);
  const auto moves = r.Moves();
  ASSERT_EQ(moves.size(), 20u);
  EXPECT_EQ(moves[19].x, 19);
  EXPECT_EQ(moves[19].y, 4);
  EXPECT_EQ(moves[19].value, 2);
  EXPECT_EQ(b[248], 0);  // the entries end at 247

  TNetRecord built;
  built.SetKind(mkGame);
  built.SetSub(gsMoves);
  built.SetArg(20);
  for (int i = 0; i < 20; ++i) built.SetMove(i, moves[static_cast<std::size_t>(i)]);
  EXPECT_EQ(BytesOf(built), b);
  built.SetMove(20, _Rev{9, 9, 9});  // no twenty-first entry
  EXPECT_EQ(BytesOf(built), b);
}

TEST(NetRecordLayout, MoveCountAboveTwentyIsReadAsTwenty) {
  TNetRecord r = RecordOf(wire::Game(1, 0, 0xFFFF));
  EXPECT_EQ(r.MoveCount(), 20);
  EXPECT_EQ(r.Moves().size(), 20u);
}

TEST(NetRecordLayout, OverlaysAtTheirOffsets) {
  TNetRecord stats;
  for (int i = 0; i < TNetRecord::StatCount; ++i) stats.SetStatValue(static_cast<TNetRecord::Stat>(i), 100 + i);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(wire::Get32(BytesOf(stats), 8 + 4 * i), 100 + i);

  TNetRecord list;
  list.SetTextOf(field::UserListName, QStringLiteral("Bob"));
  EXPECT_EQ(wire::GetText(BytesOf(list), 20, 30), "Bob");
  EXPECT_EQ(list.NameBytes(), "");  // Name at 12 holds eight zero bytes first

  TNetRecord names;
  names.SetBlackName(QStringLiteral("Kuro"));
  names.SetWhiteName(QStringLiteral("Shiro"));
  EXPECT_EQ(wire::GetText(BytesOf(names), 24, 30), "Kuro");
  EXPECT_EQ(wire::GetText(BytesOf(names), 54, 30), "Shiro");

  TNetRecord picture;
  picture.SetPictureSide(1);
  picture.SetPictureLength(240);
  picture.SetPictureData(QByteArray(240, 'p'));
  const wire::Bytes pb = BytesOf(picture);
  EXPECT_EQ(wire::Get16(pb, 8), 1);
  EXPECT_EQ(wire::Get16(pb, 10), 0);
  EXPECT_EQ(wire::Get32(pb, 12), 240);
  EXPECT_EQ(pb[16], 'p');
  EXPECT_EQ(pb[255], 'p');

  TNetRecord join;
  join.SetJoinHandle(0xA1B2C3D4u);
  EXPECT_EQ(static_cast<std::uint32_t>(wire::Get32(BytesOf(join), 4)), 0xA1B2C3D4u);
}

TEST(NetRecordText, FieldsReadUpToTheFirstNulAndNeverPastTheField) {
  wire::Bytes b = wire::Record(3);
  const QByteArray thirty(30, 'N');
  wire::PutText(b, 12, thirty);  // no terminator: Text follows at once
  wire::PutText(b, 42, "after");
  const TNetRecord r = RecordOf(b);
  EXPECT_EQ(r.NameBytes(), thirty);
  EXPECT_EQ(r.Name(), QString(thirty));

  wire::Bytes full = wire::Record(3);
  std::memset(full.data() + 42, 'T', 214);  // Text ends with the record
  EXPECT_EQ(RecordOf(full).TextBytes().size(), 214);

  wire::Bytes mid = wire::Record(3);
  wire::PutText(mid, 42, QByteArray("ab\0cd", 5));
  EXPECT_EQ(RecordOf(mid).Text(), QStringLiteral("ab"));
}

TEST(NetRecordText, WritingCutsAtACharacterBoundaryAndClearsTheRest) {
  TNetRecord r;
  r.SetText(QString(215, QLatin1Char('a')));
  EXPECT_EQ(r.TextBytes(), QByteArray(214, 'a'));

  // 15 two-byte characters are 30 bytes; a 16th would cross the field.
  r.SetName(QString(16, QChar(0x3042)));
  EXPECT_EQ(r.NameBytes().size(), 30);
  EXPECT_EQ(r.Name(), QString(15, QChar(0x3042)));
  // 'a' then two-byte characters: the last one would straddle the end, so it is left out.
  r.SetName(QStringLiteral("a") + QString(15, QChar(0x3042)));
  EXPECT_EQ(r.NameBytes().size(), 29);
  EXPECT_EQ(BytesOf(r)[12 + 29], 0);

  r.SetName(QStringLiteral("longer name"));
  r.SetName(QStringLiteral("ab"));
  EXPECT_EQ(wire::GetText(BytesOf(r), 12, 30), "ab");
  EXPECT_EQ(BytesOf(r)[12 + 5], 0);  // no leftovers of the longer name
}

TEST(NetRecordText, HostNoticesAndLogLine) {
  EXPECT_EQ(JoinNoticeText("Bob"), wire::Sjis("Bobが入室しました"));
  EXPECT_EQ(LeaveNoticeText("Bob"), wire::Sjis("Bobが退室しました"));
  EXPECT_EQ(PrivateLineText("hi"), wire::Sjis("(個別送信):hi"));
  const QByteArray cut = PrivateLineText(QByteArray(214, 'z'));
  EXPECT_EQ(cut.size(), 214);
  EXPECT_TRUE(cut.startsWith(wire::Sjis("(個別送信):")));

  wire::Bytes b = wire::Chat("hello", QByteArray(30, 'N'));
  wire::Put32(b, 8, 7);
  EXPECT_EQ(LogLine(RecordOf(b)), QStringLiteral("No.7(") + QString(30, QLatin1Char('N')) + QStringLiteral("):hello"));
}

TEST(NetRecordPicture, SplitIntoBeginChunksAndEnd) {
  EXPECT_TRUE(PictureRecords(1, {}).empty());

  QByteArray picture(481, '\0');
  for (int i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 7);
  const auto parts = PictureRecords(2, picture);
  ASSERT_EQ(parts.size(), 5u);
  std::vector<int> subs, lengths;
  for (const auto& p : parts) {
    const wire::Bytes b = BytesOf(p);
    EXPECT_EQ(wire::Get16(b, 0), 203);
    EXPECT_EQ(wire::Get16(b, 2), 0xFFFF);
    EXPECT_EQ(wire::Get16(b, 8), 1);
    subs.push_back(wire::Get16(b, 4));
    lengths.push_back(wire::Get32(b, 12));
  }
  EXPECT_EQ(subs, (std::vector<int>{1, 2, 2, 2, 3}));
  EXPECT_EQ(lengths, (std::vector<int>{481, 240, 240, 1, 0}));
  EXPECT_EQ(BytesOf(parts[3])[16], static_cast<std::uint8_t>(480 * 7));
  EXPECT_EQ(BytesOf(parts[3])[17], 0);  // the short chunk is zero-padded

  EXPECT_EQ(PictureRecords(1, QByteArray(480, 'x')).size(), 4u);

  PictureReceiver in;
  int side = -1;
  QByteArray done;
  for (const auto& p : parts) {
    if (in.Take(p, side, done)) break;
  }
  EXPECT_EQ(side, 2);
  EXPECT_EQ(done, picture);
}

TEST(NetRecordPicture, ReceiverKeepsSidesApartAndDistrustsLengths) {
  const auto black = PictureRecords(1, QByteArray(300, 'b'));
  const auto white = PictureRecords(2, QByteArray(10, 'w'));
  PictureReceiver in;
  int side = -1;
  QByteArray done;
  EXPECT_FALSE(in.Take(black[0], side, done));
  EXPECT_FALSE(in.Take(white[0], side, done));
  EXPECT_FALSE(in.Take(black[1], side, done));
  EXPECT_FALSE(in.Take(white[1], side, done));
  ASSERT_TRUE(in.Take(white[2], side, done));
  EXPECT_EQ(side, 2);
  EXPECT_EQ(done, QByteArray(10, 'w'));
  EXPECT_FALSE(in.Take(black[2], side, done));
  ASSERT_TRUE(in.Take(black[3], side, done));
  EXPECT_EQ(done, QByteArray(300, 'b'));

  // A chunk claiming more than it can hold gives 240 bytes; a negative one gives none.
  TNetRecord hostile = black[1];
  hostile.SetPictureLength(0x7FFFFFFF);
  EXPECT_EQ(hostile.PictureChunkBytes().size(), 240);
  hostile.SetPictureLength(-5);
  EXPECT_TRUE(hostile.PictureChunkBytes().isEmpty());

  // Parts without a begin, other sides and a huge declared size change nothing harmful.
  TNetRecord orphan = black[2];
  EXPECT_FALSE(in.Take(orphan, side, done));
  TNetRecord odd = black[0];
  odd.SetPictureSide(2);
  EXPECT_FALSE(in.Take(odd, side, done));
  TNetRecord huge = black[0];
  huge.SetPictureLength(0x7FFFFFFF);
  EXPECT_FALSE(in.Take(huge, side, done));
  EXPECT_FALSE(in.Take(black[1], side, done));
  EXPECT_FALSE(in.Take(black[3], side, done)) << "a transfer claiming too much is dropped whole";
}

TEST(NetRecordMoves, RunsOfTwentyWithAShortOrEmptyLast) {
  std::vector<_Rev> list;
  for (int i = 0; i < 41; ++i) list.push_back(_Rev{i % 8, i / 8, 1 + i % 2});
  auto counts = [&](int c) {
    std::vector<int> out;
    for (const auto& r : MoveRunRecords(list.data(), c)) out.push_back(wire::Get16(BytesOf(r), 6));
    return out;
  };
  EXPECT_EQ(counts(0), (std::vector<int>{0}));
  EXPECT_EQ(counts(4), (std::vector<int>{4}));
  EXPECT_EQ(counts(20), (std::vector<int>{20, 0}));
  EXPECT_EQ(counts(40), (std::vector<int>{20, 20, 0}));
  EXPECT_EQ(counts(41), (std::vector<int>{20, 20, 1}));

  const auto runs = MoveRunRecords(list.data(), 41);
  const wire::Bytes last = BytesOf(runs[2]);
  EXPECT_EQ(wire::Get16(last, 0), 201);
  EXPECT_EQ(wire::Get16(last, 4), 1);
  EXPECT_EQ(wire::Get32(last, 8), 40 % 8);
  EXPECT_EQ(wire::Get32(last, 12), 40 / 8);
  EXPECT_EQ(wire::Get32(last, 16), 1);
  EXPECT_EQ(wire::Get32(BytesOf(runs[1]), 8 + 12 * 19), 39 % 8);
}

}  // namespace
