// A member's connection, checked against a host written in the test.
#include <QElapsedTimer>
#include <QTimer>

#include "net/WireWriter.h"
#include "RoomFixture.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;
using wire::GetText;

class MemberRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    room = std::make_unique<NetRoom>(&view);
  }
  void TearDown() override {
    room.reset();
    EXPECT_TRUE(WorkersEnded());
  }
  // Joins the fake host and reads the join record.
  wire::Bytes JoinAs(const QString& name) {
    EXPECT_EQ(JoinAndWait(*room, QStringLiteral("127.0.0.1"), host.port(), name), NetRoom::Outcome::Joined);
    EXPECT_TRUE(host.Accept(line));
    auto join = line.Receive();
    EXPECT_TRUE(join);
    return join ? *join : wire::Bytes{};
  }
  int LinesWith(const QString& text) const {
    int n = 0;
    for (int i = 0; i < view.log.size(); ++i) n += view.log[i] == text;
    return n;
  }

  FakeHost host;
  Peer line;  // the host's end of the member's connection
  RecordingView view;
  std::unique_ptr<NetRoom> room;
};

TEST_F(MemberRoom, JoinsWithTheNameCutToThirtyBytes) {
  const wire::Bytes join = JoinAs(QString(40, QLatin1Char('n')));
  EXPECT_EQ(Get16(join, wire::Kind), 2);
  EXPECT_EQ(GetText(join, wire::Name, 30), QByteArray(30, 'n'));
  EXPECT_EQ(join[wire::Text], 0);
  EXPECT_EQ(Get32(join, 4), room->MemberSocket());  // its own socket handle
  EXPECT_EQ(room->AddressText(), QStringLiteral("127.0.0.1"));
}

TEST_F(MemberRoom, HandsRecordsToTheWindowsAndLogsJoinChatAndLeave) {
  JoinAs(QStringLiteral("Me"));
  wire::Bytes join = wire::Join("Me");
  wire::Put32(join, wire::Number, 4);
  wire::PutText(join, wire::Text, wire::Sjis("Meが入室しました"));
  line.Send(join);
  line.Send(wire::Game(4));
  wire::Bytes chat = wire::Chat("hello", "You");
  wire::Put32(chat, wire::Number, 5);
  line.SendRaw(chat.data(), 100);
  Pump(50);  // not a wait for anything: the two pieces are to arrive in two reads
  line.SendRaw(chat.data() + 100, 156);
  ASSERT_TRUE(WaitUntil([&] { return view.applied.size() == 3; }));
  // A later record proves that nothing else came of the pieces.
  line.Send(wire::Game(4));
  ASSERT_TRUE(WaitUntil([&] { return view.applied.size() == 4; }));
  EXPECT_EQ(view.applied[1].Sub(), gsReset);
  ASSERT_EQ(view.log.size(), 2);
  EXPECT_EQ(view.log[0], QStringLiteral("No.4(Me):Meが入室しました"));
  EXPECT_EQ(view.log[1], QStringLiteral("No.5(You):hello"));
}

TEST_F(MemberRoom, SendRecordAddsNameAndAddressee) {
  JoinAs(QStringLiteral("Me"));
  view.addressee = 3;
  TNetRecord chat;
  chat.SetKind(mkChat);
  chat.SetText(QString(215, QLatin1Char('x')));  // the entry allows 215 bytes
  room->SendRecord(chat);
  TNetRecord priv;
  priv.SetKind(mkPrivate);
  priv.SetText(QStringLiteral("psst"));
  room->SendRecord(priv);
  TNetRecord list;
  list.SetKind(mkUserList);
  room->SendRecord(list);

  const auto got = line.Drain();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(GetText(got[0], wire::Name, 30), "Me");
  EXPECT_EQ(GetText(got[0], wire::Text, 214), QByteArray(214, 'x'));
  EXPECT_EQ(Get16(got[1], wire::Kind), 4);
  EXPECT_EQ(GetText(got[1], wire::Name, 30), "Me");
  EXPECT_EQ(Get32(got[1], wire::Number), 3);
  EXPECT_EQ(Get16(got[2], wire::Kind), 5);
  EXPECT_EQ(GetText(got[2], wire::Name, 30), "");  // the user list request carries no name
}

TEST_F(MemberRoom, SendsPicturesAndLeave) {
  JoinAs(QStringLiteral("Me"));
  view.pictures[1] = QByteArray(241, 'q');
  room->SendPicture(2);
  room->SendPicture(1);  // no picture: nothing
  EXPECT_EQ(room->SendLeave(), 0);
  const auto got = line.Drain();
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(Get16(got[0], wire::Sub), 1);
  EXPECT_EQ(Get32(got[0], 12), 241);
  EXPECT_EQ(Get32(got[2], 12), 1);
  EXPECT_EQ(Get16(got[3], wire::Sub), 3);
  EXPECT_EQ(Get16(got[4], wire::Kind), 999);
  EXPECT_EQ(GetText(got[4], wire::Name, 30), "Me");
}

TEST_F(MemberRoom, LossOfTheHostIsToldExactlyOnce) {
  JoinAs(QStringLiteral("Me"));
  line.Close();
  const QString notice = QStringLiteral("No.99(Server):サーバーが切断されました");
  ASSERT_TRUE(WaitUntil([&] { return LinesWith(notice) == 1; }));
  // The receive thread has ended: nothing more can come from it.
  ASSERT_TRUE(WaitUntil([] { return platform::Worker::Running() == 1; })) << "the writer alone";
  EXPECT_EQ(LinesWith(notice), 1);
  EXPECT_EQ(view.hostLost, 1) << "the member's list is emptied to \"All\"";
  EXPECT_EQ(room->MemberSocket(), sockets::InvalidSocket);
  TNetRecord chat;
  chat.SetKind(mkChat);
  EXPECT_EQ(room->SendRecord(chat), 0);  // goes nowhere, quietly
  EXPECT_EQ(room->SendLeave(), -1);
}

TEST_F(MemberRoom, AHostThatNeverReadsNeitherHoldsTheWindowNorStaysForever) {
  JoinAs(QStringLiteral("Me"));
  // More than the queue may hold: the window thread only queues, whatever the host does.
  QElapsedTimer clock;
  clock.start();
  TNetRecord chat;
  chat.SetKind(mkChat);
  const std::size_t records = WireWriter::QueueLimit / TNetRecord::Size + 1000;
  for (std::size_t i = 0; i < records; ++i) room->SendRecord(chat);
  qint64 answered = -1;
  const qint64 posted = clock.elapsed();
  QTimer::singleShot(0, [&] { answered = clock.elapsed(); });
  ASSERT_TRUE(WaitUntil([&] { return answered >= 0; }));
  EXPECT_LT(answered - posted, 500) << "a posted event waits for nothing but the loop";
  // Past the bound the host counts as lost, as when it goes away.
  const QString notice = QStringLiteral("No.99(Server):サーバーが切断されました");
  EXPECT_TRUE(WaitUntil([&] { return LinesWith(notice) == 1; }, 20000));
}

TEST_F(MemberRoom, ClosingTheFormIsNoLoss) {
  JoinAs(QStringLiteral("Me"));
  room->CloseRoom();
  EXPECT_TRUE(WorkersEnded());
  EXPECT_TRUE(line.SeesClosed());
  EXPECT_EQ(view.log.size(), 0);
}

TEST_F(MemberRoom, RefusedConnectionAndUnknownNameAreToldApart) {
  EXPECT_EQ(JoinAndWait(*room, QStringLiteral("127.0.0.1"), FreePort(), QStringLiteral("Me")), NetRoom::Outcome::Refused);
  EXPECT_EQ(JoinAndWait(*room, QStringLiteral("no-such-host.invalid"), host.port(), QStringLiteral("Me")),
            NetRoom::Outcome::NoAddress);
  // Neither attempt left anything behind: the next one joins.
  JoinAs(QStringLiteral("Me"));
}

}  // namespace
