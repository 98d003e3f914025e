// A member's connection, checked against a host written in the test.
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include "tests/support/MessageRecorder.h"
#include "RoomFixture.h"

namespace {

using wire::Get16;
using wire::Get32;
using wire::GetText;

class MemberRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TfrmSocket>();
    form->SetRoomView(&view);
    form->SetOutputControl(&log);
  }
  void TearDown() override {
    form.reset();
    EXPECT_TRUE(NetWorker::WaitForAll(3000));
  }
  // Joins the fake host and reads the join record.
  wire::Bytes JoinAs(const QString& name) {
    EXPECT_EQ(form->ConnectToHost(QStringLiteral("127.0.0.1"), host.port(), name), 0);
    EXPECT_TRUE(host.Accept(line));
    auto join = line.Receive();
    EXPECT_TRUE(join);
    return join ? *join : wire::Bytes{};
  }
  int LinesWith(const QString& text) const {
    int n = 0;
    for (int i = 0; i < log.count(); ++i) n += log.item(i)->text() == text;
    return n;
  }

  FakeHost host;
  Peer line;  // the host's end of the member's connection
  RecordingView view;
  QListWidget log;
  std::unique_ptr<TfrmSocket> form;
};

TEST_F(MemberRoom, JoinsWithTheNameCutToThirtyBytes) {
  const wire::Bytes join = JoinAs(QString(40, QLatin1Char('n')));
  EXPECT_EQ(Get16(join, wire::Kind), 2);
  EXPECT_EQ(GetText(join, wire::Name, 30), QByteArray(30, 'n'));
  EXPECT_EQ(join[wire::Text], 0);
  EXPECT_EQ(Get32(join, 4), form->MemberSocket());  // its own socket handle
  EXPECT_EQ(form->AddressText(), QStringLiteral("127.0.0.1"));
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
  Pump(50);
  line.SendRaw(chat.data() + 100, 156);
  ASSERT_TRUE(PumpUntil([&] { return view.applied.size() == 3; }));
  Pump(50);
  EXPECT_EQ(view.applied.size(), 3u);
  EXPECT_EQ(view.applied[1].Sub(), gsReset);
  ASSERT_EQ(log.count(), 2);
  EXPECT_EQ(log.item(0)->text(), QStringLiteral("No.4(Me):Meが入室しました"));
  EXPECT_EQ(log.item(1)->text(), QStringLiteral("No.5(You):hello"));
}

TEST_F(MemberRoom, SendRecordAddsNameAndAddressee) {
  JoinAs(QStringLiteral("Me"));
  view.addressee = 3;
  TNetRecord chat;
  chat.SetKind(mkChat);
  chat.SetText(QString(215, QLatin1Char('x')));  // the entry allows 215 bytes
  form->SendRecord(chat);
  TNetRecord priv;
  priv.SetKind(mkPrivate);
  priv.SetText(QStringLiteral("psst"));
  form->SendRecord(priv);
  TNetRecord list;
  list.SetKind(mkUserList);
  form->SendRecord(list);

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
  form->SendPicture(2);
  form->SendPicture(1);  // no picture: nothing
  EXPECT_EQ(form->SendLeave(), 0);
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
  ASSERT_TRUE(PumpUntil([&] { return LinesWith(notice) == 1; }));
  Pump(200);
  EXPECT_EQ(LinesWith(notice), 1);
  EXPECT_EQ(form->MemberSocket(), sockets::InvalidSocket);
  TNetRecord chat;
  chat.SetKind(mkChat);
  EXPECT_EQ(form->SendRecord(chat), 0);  // goes nowhere, quietly
  EXPECT_EQ(form->SendLeave(), -1);
}

TEST_F(MemberRoom, AHostThatNeverReadsNeitherHoldsTheWindowNorStaysForever) {
  JoinAs(QStringLiteral("Me"));
  // More than the queue may hold: the window thread only queues, whatever the host does.
  QElapsedTimer clock;
  clock.start();
  TNetRecord chat;
  chat.SetKind(mkChat);
  const std::size_t records = WireWriter::QueueLimit / TNetRecord::Size + 1000;
  for (std::size_t i = 0; i < records; ++i) form->SendRecord(chat);
  qint64 answered = -1;
  const qint64 posted = clock.elapsed();
  QTimer::singleShot(0, [&] { answered = clock.elapsed(); });
  ASSERT_TRUE(PumpUntil([&] { return answered >= 0; }));
  EXPECT_LT(answered - posted, 500) << "a posted event waits for nothing but the loop";
  // Past the bound the host counts as lost, as when it goes away.
  const QString notice = QStringLiteral("No.99(Server):サーバーが切断されました");
  EXPECT_TRUE(PumpUntil([&] { return LinesWith(notice) == 1; }, 20000));
}

TEST_F(MemberRoom, ClosingTheFormIsNoLoss) {
  JoinAs(QStringLiteral("Me"));
  form->close();
  EXPECT_TRUE(NetWorker::WaitForAll(3000));
  EXPECT_TRUE(line.SeesClosed());
  EXPECT_EQ(log.count(), 0);
}

TEST_F(MemberRoom, RefusedConnectionIsReportedAndUnknownNameIsNot) {
  MessageRecorder boxes;
  EXPECT_EQ(form->ConnectToHost(QStringLiteral("127.0.0.1"), FreePort(), QStringLiteral("Me")), -1);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral("この番号は現在使われておりません"));
  EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("ネットワークの接続"));

  boxes.clear();
  EXPECT_EQ(form->ConnectToHost(QStringLiteral("no-such-host.invalid"), host.port(), QStringLiteral("Me")), -1);
  EXPECT_TRUE(boxes.boxes().empty());
  // Neither attempt left anything behind: the next one joins.
  JoinAs(QStringLiteral("Me"));
}

TEST(OutputControl, EachKindOfControlTakesTheLineItsOwnWay) {
  TfrmSocket form;
  form.AppendLogLine(QStringLiteral("nowhere"));  // none registered: nothing happens

  QLineEdit edit;
  form.SetOutputControl(&edit);
  form.AppendLogLine(QStringLiteral("one"));
  form.AppendLogLine(QStringLiteral("two"));
  EXPECT_EQ(edit.text(), QStringLiteral("two"));

  QLabel label;
  form.SetOutputControl(&label);
  form.AppendLogLine(QStringLiteral("three"));
  EXPECT_EQ(label.text(), QStringLiteral("three"));

  QComboBox combo;
  form.SetOutputControl(&combo);
  form.AppendLogLine(QStringLiteral("a"));
  form.AppendLogLine(QStringLiteral("b"));
  EXPECT_EQ(combo.count(), 2);

  QTextEdit rich;
  form.SetOutputControl(&rich);
  form.AppendLogLine(QStringLiteral("<b>not bold</b>"));
  form.AppendLogLine(QStringLiteral("second"));
  EXPECT_EQ(rich.toPlainText(), QStringLiteral("<b>not bold</b>\nsecond"));

  {
    QWidget other;
    form.SetOutputControl(&other);
    form.AppendLogLine(QStringLiteral("ignored"));
  }
  form.AppendLogLine(QStringLiteral("after the control is gone"));
  EXPECT_EQ(rich.toPlainText(), QStringLiteral("<b>not bold</b>\nsecond"));
}

}  // namespace
