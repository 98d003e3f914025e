// The member's rules for what arrives: pictures from peers, leaves, statistics.
#include <QBuffer>
#include <gtest/gtest.h>

#include "net/FacePicture.h"
#include "net/RoomRules.h"

TEST(RoomRules, OnlySensibleBitmapsBecomeFaces) {
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

TEST(RoomRules, LeavesStatisticsAndInvitations) {
  const QStringList rows{"All", "Oya", "ALL", "mi", "Mi"};
  EXPECT_EQ(LeavingRow(rows, "MI"), 3) << "the first match, case ignored";
  EXPECT_EQ(LeavingRow(rows, "all"), 2) << "the All row is never a user";
  EXPECT_EQ(LeavingRow(rows, "nobody"), -1);

  TNetRecord request;
  request.SetKind(mkGame);
  request.SetSub(gsStatsRequest);
  request.SetArg(12);
  const TNetRecord reply = StatsReplyFor(request, {1, 2, 3, 4, 5, -6});
  EXPECT_EQ(reply.Sub(), gsStatsReply);
  EXPECT_EQ(reply.To(), 12);
  EXPECT_EQ(reply.data()[28], static_cast<std::uint8_t>(-6));
  EXPECT_EQ(StatsOf(reply), (RecordCounters{1, 2, 3, 4, 5, -6}));

  TNetRecord invite;
  invite.SetArg(0);
  EXPECT_EQ(InvitationOf(invite).side, 0);
  EXPECT_EQ(InvitationOf(invite).first, PlayerKind::Local);
  invite.SetArg(1);
  EXPECT_EQ(InvitationOf(invite).second, PlayerKind::Local);
  EXPECT_EQ(InvitationOf(invite).first, PlayerKind::Net);
}
