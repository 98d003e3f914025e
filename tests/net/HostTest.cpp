// The host: numbering, relaying and forwarding, the answer to a newcomer, leaving and losing
// members, and peers that misbehave. Every peer reads and writes raw bytes.
#include <QElapsedTimer>

#include <atomic>
#include <random>
#include <thread>

#include "RoomFixture.h"
#include "net/CliRecv.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;
using wire::GetText;

TEST_F(HostRoom, NumbersTheSmallestFreeClientNumberAndAppendsToTheTable) {
  Peer a = Join("A");
  Peer b = Join("B");
  EXPECT_EQ(room->ClientNumbers(), (QList<int>{0, 1, 2}));
  EXPECT_EQ(Users(), (QStringList{"Host", "A", "B"}));

  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "A");
  a.Send(leave);
  ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 2; }));
  EXPECT_EQ(room->ClientNumbers(), (QList<int>{0, 2}));

  Peer c;
  ASSERT_TRUE(c.Connect(port));
  c.Send(wire::Join("C"));
  ASSERT_TRUE(WaitUntil([&] { return UserCount() == 3; }));
  EXPECT_EQ(room->ClientNumbers(), (QList<int>{0, 2, 1}));  // the freed 1, appended at the end
  EXPECT_EQ(Users(), (QStringList{"Host", "B", "C"}));
  const auto seenByB = b.Drain();
  ASSERT_FALSE(seenByB.empty());
  const wire::Bytes& notice = seenByB.back();
  EXPECT_EQ(Get16(notice, wire::Kind), 2);
  EXPECT_EQ(Get32(notice, wire::Number), 1);
}

TEST_F(HostRoom, JoinNoticeReachesEveryoneWithNumberAndText) {
  Peer a = Join("A");
  Peer b;
  ASSERT_TRUE(b.Connect(port));
  b.Send(wire::Join(wire::Sjis("ボブ")));
  for (Peer* p : {&a, &b}) {
    auto r = p->Receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(Get16(*r, wire::Kind), 2);
    EXPECT_EQ(Get32(*r, wire::Number), 2);
    EXPECT_EQ(GetText(*r, wire::Name, 30), wire::Sjis("ボブ"));
    EXPECT_EQ(GetText(*r, wire::Text, 214), wire::Sjis("ボブが入室しました"));
  }
  ASSERT_TRUE(WaitUntil([&] { return view.log.size() == 3; }));
  EXPECT_EQ(view.log[2], QStringLiteral("No.2(ボブ):ボブが入室しました"));
}

TEST_F(HostRoom, ThirtyByteNameShowsWholeWithoutTerminator) {
  const QByteArray name(30, 'M');
  Peer a = Join(name);
  EXPECT_EQ(Users().last(), QString(name));
  a.Send(wire::Chat("hi", name));
  ASSERT_TRUE(WaitUntil([&] { return view.log.size() == 3; }));
  EXPECT_EQ(view.log[2], QStringLiteral("No.1(") + QString(name) + QStringLiteral("):hi"));
}

TEST_F(HostRoom, UserListAnswersTheRequesterOnlyOneEntryPerRow) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  b.Send(wire::Record(5));
  const auto got = b.Drain();
  ASSERT_EQ(got.size(), 3u);
  const char* names[] = {"Host", "A", "B"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Get16(got[i], wire::Kind), 5);
    EXPECT_EQ(Get32(got[i], wire::Number), i);
    EXPECT_EQ(GetText(got[i], 20, 30), QByteArray(names[i]));
  }
  EXPECT_TRUE(a.Drain().empty());
}

TEST_F(HostRoom, PublicChatIsRelayedToAllWithTheSendersNumber) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  const std::size_t before = view.applied.size();
  wire::Bytes chat = wire::Chat(QByteArray(214, 'c'), "A");
  wire::Put32(chat, wire::Number, 777);  // whatever the sender claims
  a.Send(chat);
  for (Peer* p : {&a, &b}) {
    auto r = p->Receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(Get16(*r, wire::Kind), 3);
    EXPECT_EQ(Get32(*r, wire::Number), 1);
    EXPECT_EQ(GetText(*r, wire::Text, 214), QByteArray(214, 'c'));
  }
  ASSERT_TRUE(WaitUntil([&] { return view.applied.size() == before + 1; }));
  EXPECT_EQ(view.log[view.log.size() - 1], QStringLiteral("No.1(A):") + QString(214, QLatin1Char('c')));
}

TEST_F(HostRoom, RecordInTwoPiecesIsHandledOnce) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  const wire::Bytes chat = wire::Chat("split", "A");
  a.SendRaw(chat.data(), 100);
  Pump(80);  // not a wait for anything: the two pieces are to arrive in two reads
  EXPECT_TRUE(b.Drain(50).empty());
  a.SendRaw(chat.data() + 100, 156);
  const auto got = b.Drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(GetText(got[0], wire::Text, 214), "split");
}

TEST_F(HostRoom, PrivateLinesReachAddresseeAndSenderOnce) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  const std::size_t hostBefore = view.applied.size();

  wire::Bytes toB = wire::Record(4);
  wire::PutText(toB, wire::Name, "A");
  wire::Put32(toB, wire::Number, 2);  // B's table position
  wire::PutText(toB, wire::Text, "psst");
  a.Send(toB);
  for (Peer* p : {&b, &a}) {
    const auto got = p->Drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(Get16(got[0], wire::Kind), 3);
    EXPECT_EQ(Get32(got[0], wire::Number), 2);
    EXPECT_EQ(GetText(got[0], wire::Text, 214), wire::Sjis("(個別送信):psst"));
  }
  EXPECT_EQ(view.applied.size(), hostBefore);

  wire::Bytes toSelf = toB;
  wire::Put32(toSelf, wire::Number, 1);
  wire::PutText(toSelf, wire::Text, QByteArray(214, 'L'));
  a.Send(toSelf);
  const auto self = a.Drain();
  ASSERT_EQ(self.size(), 1u);
  const QByteArray text = GetText(self[0], wire::Text, 214);
  EXPECT_EQ(text.size(), 214);  // cut to the field, no terminator
  EXPECT_TRUE(text.startsWith(wire::Sjis("(個別送信):")));
  EXPECT_TRUE(b.Drain().empty());
}

TEST_F(HostRoom, InviteAndStatsRequestReachOnlyTheAddressee) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  const std::size_t hostBefore = view.applied.size();

  a.Send(wire::Game(3, /*to*/ 2, /*arg*/ 1));
  auto invite = b.Receive();
  ASSERT_TRUE(invite);
  EXPECT_EQ(Get16(*invite, wire::Sub), 3);
  EXPECT_EQ(Get16(*invite, wire::Arg), 1);

  a.Send(wire::Game(5, /*to*/ 2));
  auto request = b.Receive();
  ASSERT_TRUE(request);
  EXPECT_EQ(Get16(*request, wire::Sub), 5);
  EXPECT_EQ(Get16(*request, wire::Arg), 1);  // the requester's client number
  EXPECT_TRUE(a.Drain().empty());
  EXPECT_TRUE(b.Drain().empty());
  EXPECT_EQ(view.applied.size(), hostBefore);
}

TEST_F(HostRoom, StatsReplyReachesTheRequesterAfterPositionsShift) {
  Peer a = Join("A");  // 1, position 1
  Peer b = Join("B");  // 2, position 2
  Peer c = Join("C");  // 3, position 3
  Quiet({&a, &b, &c});
  c.Send(wire::Game(5, /*to*/ 1));  // C asks A
  auto request = a.Receive();
  ASSERT_TRUE(request);
  const std::uint16_t requester = Get16(*request, wire::Arg);
  EXPECT_EQ(requester, 3);

  // B leaves in between: C moves from position 3 to 2.
  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "B");
  b.Send(leave);
  ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 3; }));
  Quiet({&a, &c});

  wire::Bytes reply = wire::Game(6, requester);
  for (int i = 0; i < 6; ++i) wire::Put32(reply, 8 + 4 * i, 10 + i);
  a.Send(reply);
  auto got = c.Receive();
  ASSERT_TRUE(got);
  EXPECT_EQ(Get16(*got, wire::Sub), 6);
  EXPECT_EQ(Get32(*got, 28), 15);
  EXPECT_TRUE(a.Drain().empty());
}

TEST_F(HostRoom, MovesResetAndUnknownKindsReachEveryone) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  wire::Bytes move = wire::Game(1, 0, 1);
  wire::Put32(move, 8, 2);
  wire::Put32(move, 12, 3);
  wire::Put32(move, 16, 1);
  b.Send(move);
  b.Send(wire::Game(4));
  b.Send(wire::Game(9));   // a sub-kind nobody knows
  b.Send(wire::Record(77));  // a kind nobody knows
  for (Peer* p : {&a, &b}) {
    const auto got = p->Drain();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(std::memcmp(got[0].data(), move.data(), 256), 0);  // unchanged
    EXPECT_EQ(Get16(got[1], wire::Sub), 4);
    EXPECT_EQ(Get16(got[2], wire::Sub), 9);
    EXPECT_EQ(Get16(got[3], wire::Kind), 77);
  }
  ASSERT_TRUE(WaitUntil([&] { return !view.applied.empty() && view.applied.back().Kind() == 77; }));
}

TEST_F(HostRoom, AnswersANewcomerWithMovesNamesAndPicturesWithPauses) {
  struct Case {
    int stones;
    std::vector<int> runs;
  };
  view.pictures[0] = QByteArray(250, 'k');  // two chunks
  view.pictures[1] = QByteArray(5, 's');    // one chunk
  for (const Case& c : {Case{0, {0}}, Case{20, {20, 0}}, Case{40, {20, 20, 0}}, Case{41, {20, 20, 1}}}) {
    SCOPED_TRACE(c.stones);
    view.placements.clear();
    for (int i = 0; i < c.stones; ++i) view.placements.push_back(_Rev{i % 8, i / 8, 1 + i % 2});
    // The last case's newcomer is gone first, so its leave is not read as part of this answer.
    ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 1; }));
    Peer p;
    ASSERT_TRUE(p.Connect(port));
    p.Send(wire::Join("N"));
    ASSERT_TRUE(p.Receive());
    // The host answers on this thread, so the arrival times are taken on another.
    std::vector<TimedRecord> timed;
    std::atomic<bool> done{false};
    const std::size_t want = c.runs.size() + 1 + 4 + 3;
    std::thread reader([&] {
      timed = ReadTimed(p.fd(), 10000, want);
      done = true;
    });
    p.Send(wire::Record(200));
    WaitUntil([&] { return done.load(); }, 15000);
    reader.join();
    std::vector<wire::Bytes> got;
    std::vector<qint64> at;
    for (const auto& t : timed) {
      got.push_back(t.bytes);
      at.push_back(t.ms);
    }
    const std::size_t runs = c.runs.size();
    ASSERT_EQ(got.size(), want);
    for (std::size_t i = 0; i < runs; ++i) {
      EXPECT_EQ(Get16(got[i], wire::Kind), 201);
      EXPECT_EQ(Get16(got[i], wire::Sub), 1);
      EXPECT_EQ(Get16(got[i], wire::Arg), c.runs[i]);
    }
    if (c.stones == 41) {
      EXPECT_EQ(Get32(got[2], 8), 0);  // entry 40: (0, 5)
      EXPECT_EQ(Get32(got[2], 12), 5);
      EXPECT_EQ(Get32(got[1], 8 + 12 * 19 + 8), 2);  // entry 39's side
    }
    const wire::Bytes& names = got[runs];
    EXPECT_EQ(Get16(names, wire::Kind), 202);
    EXPECT_EQ(Get16(names, wire::Sub), 1);
    EXPECT_EQ(Get16(names, wire::To), room->ClientNumbers().back());
    EXPECT_EQ(GetText(names, 24, 30), "Kuro");
    EXPECT_EQ(GetText(names, 54, 30), "Shiro");
    std::vector<int> sides, parts;
    for (std::size_t i = runs + 1; i < got.size(); ++i) {
      EXPECT_EQ(Get16(got[i], wire::Kind), 203);
      sides.push_back(Get16(got[i], 8));
      parts.push_back(Get16(got[i], wire::Sub));
    }
    EXPECT_EQ(sides, (std::vector<int>{0, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(parts, (std::vector<int>{1, 2, 2, 3, 1, 2, 3}));
    // 100 ms before the names, before the first picture and before the second. A busy machine
    // may take a record in late, which can only shorten a gap: hence the margin.
    EXPECT_GE(at[runs] - at[runs - 1], 50);
    EXPECT_GE(at[runs + 1] - at[runs], 50);
    EXPECT_GE(at[runs + 5] - at[runs + 4], 50);
  }
}

TEST_F(HostRoom, MiddleMemberLeavingIsSeenByEveryoneRemaining) {
  Peer a = Join("A");
  Peer b = Join("B");
  Peer c = Join("C");
  Quiet({&a, &b, &c});
  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "b");  // the list compares without regard to case
  b.Send(leave);
  for (Peer* p : {&a, &c, &b}) {
    auto r = p->Receive();
    ASSERT_TRUE(r);
    EXPECT_EQ(Get16(*r, wire::Kind), 999);
    EXPECT_EQ(Get32(*r, wire::Number), 2);
    EXPECT_EQ(GetText(*r, wire::Text, 214), wire::Sjis("bが退室しました"));
  }
  EXPECT_TRUE(b.SeesClosed());
  EXPECT_EQ(Users(), (QStringList{"Host", "A", "C"}));
  EXPECT_EQ(room->ClientNumbers(), (QList<int>{0, 1, 3}));
  EXPECT_EQ(view.left, (std::vector<int>{2}));  // the game screen ends the game if 2 played it
  EXPECT_TRUE(WaitUntil([&] { return view.log[view.log.size() - 1] == QStringLiteral("No.2(b):bが退室しました"); }));

  wire::Bytes leaveC = wire::Record(999);
  wire::PutText(leaveC, wire::Name, "C");
  c.Send(leaveC);
  ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 2; }));
  EXPECT_EQ(view.left, (std::vector<int>{2, 3}));
}

TEST_F(HostRoom, MemberLostWithoutLeaveIsToldAsALeave) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  b.Close();
  auto r = a.Receive();
  ASSERT_TRUE(r);
  EXPECT_EQ(Get16(*r, wire::Kind), 999);
  EXPECT_EQ(Get32(*r, wire::Number), 2);
  EXPECT_EQ(GetText(*r, wire::Name, 30), "B");
  EXPECT_EQ(GetText(*r, wire::Text, 214), wire::Sjis("Bが退室しました"));
  EXPECT_EQ(Users(), (QStringList{"Host", "A"}));
  EXPECT_EQ(room->ClientNumbers(), (QList<int>{0, 1}));
  EXPECT_EQ(view.left, (std::vector<int>{2}));

  // One that never joined goes without a word.
  Peer silent;
  ASSERT_TRUE(silent.Connect(port));
  ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 3; }));
  silent.Close();
  ASSERT_TRUE(WaitUntil([&] { return room->ClientCount() == 2; }));
  EXPECT_TRUE(a.Drain().empty());
}

TEST_F(HostRoom, MemberThatStopsReadingIsDroppedAndOthersGoOn) {
  Peer a = Join("A");
  Peer stuck;
  ASSERT_TRUE(stuck.Connect(port, 4096));
  stuck.Send(wire::Join("Stuck"));
  ASSERT_TRUE(WaitUntil([&] { return UserCount() == 3; }));
  Quiet({&a});

  // A reads along while it sends; Stuck never reads again.
  int received = 0;
  bool sawLeave = false;
  const int sent = 3000;
  for (int i = 0; i < sent; ++i) {
    a.Send(wire::Chat(QByteArray::number(i), "A"));
    while (auto r = a.Receive(0)) {
      if (Get16(*r, wire::Kind) == 3) ++received;
      if (Get16(*r, wire::Kind) == 999) sawLeave = true;
    }
  }
  // Stuck goes once the writer has waited on it long enough; A loses nothing meanwhile.
  EXPECT_TRUE(ReadUntil(
      a,
      [&](const wire::Bytes& r) {
        if (Get16(r, wire::Kind) == 3) ++received;
        if (Get16(r, wire::Kind) == 999) sawLeave = true;
      },
      [&] { return received == sent && sawLeave; }));
  EXPECT_EQ(received, sent);
  EXPECT_EQ(Users(), (QStringList{"Host", "A"}));
}

TEST_F(HostRoom, GarbageAndHostileFieldsChangeNothingTheyShouldNot) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});

  // Records that name nobody, or ask for more than a record holds.
  std::vector<wire::Bytes> hostile;
  for (std::int32_t number : {3, 9999, -1, 0x7FFFFFFF}) {
    wire::Bytes p = wire::Record(4);
    wire::Put32(p, wire::Number, number);
    hostile.push_back(p);
  }
  for (std::uint16_t to : {3, 0xFFFF}) {
    hostile.push_back(wire::Game(3, to));
    hostile.push_back(wire::Game(5, to));
    hostile.push_back(wire::Game(6, to));
  }
  wire::Bytes names = wire::Record(202);
  wire::Put16(names, wire::To, 40);
  hostile.push_back(names);
  wire::Bytes picture = wire::Record(203);
  wire::Put16(picture, wire::To, 5);
  wire::Put32(picture, 12, 0x7FFFFFFF);
  hostile.push_back(picture);
  hostile.push_back(wire::Record(1));
  for (const auto& h : hostile) a.Send(h);
  wire::Bytes many = wire::Game(1, 0, 0xFFFF);
  a.Send(many);
  a.Send(wire::Chat("marker", "A"));
  for (Peer* p : {&a, &b}) {
    const auto got = p->Drain();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(Get16(got[0], wire::Sub), 1);
    EXPECT_EQ(Get16(got[0], wire::Arg), 20);  // passed on as no more than a record holds
    EXPECT_EQ(GetText(got[1], wire::Text, 214), "marker");
  }

  // Plain noise from a connection that never joined.
  std::mt19937 random(5);
  std::vector<std::uint8_t> noise(256 * 200);
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
  for (std::size_t i = 0; i < noise.size(); i += 256) {
    const std::uint16_t kind = static_cast<std::uint16_t>(noise[i] | (noise[i + 1] << 8));
    if (kind == 2 || kind == 999) noise[i] ^= 0x40;  // neither a join nor a leave
  }
  Peer noisy;
  ASSERT_TRUE(noisy.Connect(port));
  noisy.SendRaw(noise.data(), noise.size());
  noisy.SendRaw(noise.data(), 77);  // and half a record
  Pump(300);
  Quiet({&a, &b, &noisy});
  EXPECT_EQ(Users(), (QStringList{"Host", "A", "B"}));
  b.Send(wire::Chat("still here", "B"));
  auto r = a.Receive();
  ASSERT_TRUE(r);
  EXPECT_EQ(GetText(*r, wire::Text, 214), "still here");
}

TEST_F(HostRoom, ClosingStopsEverythingWithoutHandlingMore) {
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  for (int i = 0; i < 200; ++i) a.Send(wire::Chat("flood", "A"));
  room->CloseRoom();
  const std::size_t handled = view.applied.size();
  EXPECT_EQ(room->ClientCount(), 0);
  EXPECT_TRUE(WorkersEnded());
  EXPECT_EQ(view.applied.size(), handled);
  EXPECT_TRUE(a.SeesClosed());
  EXPECT_TRUE(b.SeesClosed());
  for (const QString& line : view.log) EXPECT_FALSE(line.contains("Server"));

  // The port is free again for the next room.
  RecordingView other;
  NetRoom again(&other);
  EXPECT_EQ(HostAndWait(again, QStringLiteral("127.0.0.1"), port, QStringLiteral("Again")), NetRoom::Outcome::Joined);
}

TEST(HostStart, TellsAnUnknownNameFromAPortInUseAndCanStartAgain) {
  RecordingView view;
  NetRoom room(&view);
  EXPECT_EQ(HostAndWait(room, QStringLiteral("nobody.invalid"), FreePort(), QStringLiteral("H")), NetRoom::Outcome::NoAddress);
  EXPECT_FALSE(room.IsHosting());

  // A port another program holds, on loopback alone: listening everywhere takes it too.
  FakeHost other;
  EXPECT_EQ(HostAndWait(room, QStringLiteral("127.0.0.1"), other.port(), QStringLiteral("H")), NetRoom::Outcome::PortInUse);
  EXPECT_FALSE(room.IsHosting());
  EXPECT_EQ(HostAndWait(room, QStringLiteral("127.0.0.1"), FreePort(), QStringLiteral("H")), NetRoom::Outcome::Joined);
  room.CloseRoom();
  EXPECT_TRUE(WorkersEnded());
}

}  // namespace
