// How a room is reached: by IPv6 as well as IPv4, by every address a name has, and by names
// that the room takes as names.
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "RoomFixture.h"
#include "net/Connector.h"
#include "platform/NameLookup.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;
using wire::GetText;
using platform::IpAddress;

// A room whose names are answered by the test instead of the system's resolver.
RoomSystem StubNames(std::map<QString, std::vector<IpAddress>> names) {
  RoomSystem system;
  system.resolver = [names](const QString& name, platform::NameLookup::Answer answer) {
    const auto it = names.find(name);
    answer(it == names.end() ? std::vector<IpAddress>{} : it->second);
  };
  return system;
}

IpAddress Address(const char* text) { return *IpAddress::FromText(QString::fromLatin1(text)); }

// A listener on one loopback address whose queue is full: connections to it are never
// answered, as to a machine that has gone.
class DeadAddress {
 public:
  DeadAddress(const char* address, std::uint16_t port) {
    listener_ = Open(address, port);
    ::listen(listener_, 0);
    filler_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = Of(address, port);
    ::connect(filler_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  }
  ~DeadAddress() {
    ::close(filler_);
    ::close(listener_);
  }

 private:
  static sockaddr_in Of(const char* address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &sa.sin_addr);
    return sa;
  }
  static int Open(const char* address, std::uint16_t port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa = Of(address, port);
    ::bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    return s;
  }
  int listener_ = -1, filler_ = -1;
};

TEST_F(HostRoom, MembersJoinOverIPv6ByAddressWithOrWithoutBracketsAndByAName) {
  const RoomSystem names = StubNames({{QStringLiteral("v6only.test"), {Address("::1")}}});
  std::vector<std::unique_ptr<RecordingView>> views;
  std::vector<std::unique_ptr<NetRoom>> members;
  for (const char* host : {"::1", "[::1]", "v6only.test"}) {
    SCOPED_TRACE(host);
    views.push_back(std::make_unique<RecordingView>());
    members.push_back(std::make_unique<NetRoom>(views.back().get(), names));
    const QString name = QStringLiteral("M%1").arg(members.size());
    ASSERT_EQ(JoinAndWait(*members.back(), QString::fromLatin1(host), port, name), NetRoom::Outcome::Joined);
    EXPECT_EQ(members.back()->AddressText(), QStringLiteral("::1"));
    ASSERT_TRUE(WaitUntil([&] { return Users().contains(name); }));
  }
  // A line of chat from an IPv6 member reaches the host's own user like any other.
  TNetRecord chat;
  chat.SetKind(mkChat);
  chat.SetText(QStringLiteral("over six"));
  members.back()->SendRecord(chat);
  EXPECT_TRUE(WaitUntil([&] { return view.log.contains(QStringLiteral("No.3(M3):over six")); }));
}

TEST_F(HostRoom, AMemberJoinsByANameTheSystemLooksUp) {
  RecordingView other;
  NetRoom member(&other);
  ASSERT_EQ(JoinAndWait(member, QStringLiteral("localhost"), port, QStringLiteral("Named")), NetRoom::Outcome::Joined);
  EXPECT_TRUE(IpAddress::FromText(member.AddressText())->IsLoopback());
  EXPECT_TRUE(WaitUntil([&] { return Users().contains(QStringLiteral("Named")); }));
}

TEST(Reach, JoiningTriesTheNextAddressWhileTheFirstDoesNotAnswer) {
  FakeHost live;  // on 127.0.0.1
  DeadAddress dead("127.0.0.3", live.port());
  RecordingView view;
  NetRoom room(&view, StubNames({{QStringLiteral("twice.test"), {Address("127.0.0.3"), Address("127.0.0.1")}}}));
  // One after the other, the first try alone would use up the whole attempt.
  EXPECT_EQ(JoinAndWait(room, QStringLiteral("twice.test"), live.port(), QStringLiteral("Me")), NetRoom::Outcome::Joined);
  EXPECT_EQ(room.AddressText(), QStringLiteral("127.0.0.1"));
  Peer line;
  ASSERT_TRUE(live.Accept(line));
  const auto join = line.Receive();
  ASSERT_TRUE(join);
  EXPECT_EQ(GetText(*join, wire::Name, 30), "Me");
}

TEST(Reach, TheTriesTakeTurnsBetweenTheFamilies) {
  const std::vector<IpAddress> given = {Address("2001:db8::1"), Address("2001:db8::2"), Address("2001:db8::3"),
                                        Address("192.0.2.1"), Address("192.0.2.2")};
  const std::vector<IpAddress> expected = {Address("2001:db8::1"), Address("192.0.2.1"), Address("2001:db8::2"),
                                           Address("192.0.2.2"), Address("2001:db8::3")};
  EXPECT_EQ(Connector::Interleaved(given), expected);
}

TEST_F(HostRoom, NamesThatAreNoTextAreRefusedWithTheReason) {
  const QByteArray sjisA = wire::Sjis("あ");
  for (const QByteArray& name : {QByteArray(), QByteArray("ab\xFF", 3), QByteArray("ab") + sjisA.left(1)}) {
    SCOPED_TRACE(name.toHex().toStdString());
    Peer p;
    ASSERT_TRUE(p.Connect(port));
    p.Send(wire::Join(name));
    const auto notice = p.Receive();
    ASSERT_TRUE(notice);
    EXPECT_EQ(Get16(*notice, wire::Kind), 3);
    EXPECT_EQ(Get32(*notice, wire::Number), 99);
    EXPECT_EQ(GetText(*notice, wire::Text, 214), wire::Sjis("この名前では入室できません"));
    EXPECT_TRUE(p.SeesClosed());
  }
  EXPECT_EQ(Users(), (QStringList{"Host"}));
  // A name of whole characters still joins.
  Join(wire::Sjis("あい"));
  EXPECT_EQ(Users(), (QStringList{"Host", QStringLiteral("あい")}));
}

}  // namespace
