// The member's rules for what arrives: leaves, statistics, invitations. No window needed.
#include <gtest/gtest.h>

#include "net/RoomRules.h"

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
  EXPECT_EQ(InvitationOf(invite).side, 1);
  EXPECT_EQ(InvitationOf(invite).first, PlayerKind::Local);
  invite.SetArg(1);
  EXPECT_EQ(InvitationOf(invite).second, PlayerKind::Local);
  EXPECT_EQ(InvitationOf(invite).first, PlayerKind::Net);
}
