#pragma once
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "WirePeer.h"
#include "net/NetRecord.h"
#include "net/NetRoom.h"
#include "platform/Worker.h"
#include "net/RoomView.h"

// Stands in for the socket form and the game screen together: keeps what the room hands it,
// and writes the log lines the socket form would.
class RecordingView : public RoomView {
 public:
  void ApplyRecord(const TNetRecord& r) override {
    ++handled;
    if (keep) applied.push_back(r);
    const std::uint16_t kind = r.Kind();
    if (keepLog && (kind == mkJoin || kind == mkChat || kind == mkLeave)) log << LogLine(r);
  }
  int PrivateAddressee() const override { return addressee; }
  std::vector<_Rev> Placements() const override { return placements; }
  QString PlayerName(int side) const override { return names[side - 1]; }
  QByteArray FacePicture(int side) const override { return pictures[side - 1]; }
  void MemberLeft(int clientNumber) override { left.push_back(clientNumber); }
  void HostLost() override { ++hostLost; }
  void RoomLine(const QString& line) override { roomLines << line; }

  std::vector<TNetRecord> applied;
  bool keep = true;     // off for floods: only counted
  bool keepLog = true;  // likewise
  int handled = 0;
  QStringList log;
  QStringList roomLines;
  std::vector<int> left;
  int hostLost = 0;
  std::vector<_Rev> placements;
  int addressee = 0;
  QString names[2] = {QStringLiteral("Kuro"), QStringLiteral("Shiro")};  // sides 1 and 2
  QByteArray pictures[2];
};

// Starts hosting or joining and waits for the outcome.
inline NetRoom::Outcome HostAndWait(NetRoom& room, const QString& hostName, std::uint16_t port, const QString& user,
                                    NetRoom::HostOptions options = {}) {
  std::optional<NetRoom::Outcome> outcome;
  room.StartHost(hostName, port, user, options, [&](NetRoom::Outcome o) { outcome = o; });
  EXPECT_TRUE(WaitUntil([&] { return outcome.has_value(); }, 10000));
  return outcome.value_or(NetRoom::Outcome::NoAddress);
}
inline NetRoom::Outcome JoinAndWait(NetRoom& room, const QString& hostName, std::uint16_t port, const QString& user) {
  std::optional<NetRoom::Outcome> outcome;
  room.ConnectToHost(hostName, port, user, [&](NetRoom::Outcome o) { outcome = o; });
  EXPECT_TRUE(WaitUntil([&] { return outcome.has_value(); }, 10000));
  return outcome.value_or(NetRoom::Outcome::NoAddress);
}
// Every thread of the room has ended (they end soon after their room is closed).
inline bool WorkersEnded() {
  return WaitUntil([] { return platform::Worker::Running() == 0; });
}

// A hosted room on 127.0.0.1 whose own member is "Host" (client number 0), with test peers
// that join it as further members.
class HostRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    port = FreePort();
    room = std::make_unique<NetRoom>(&view);
    ASSERT_EQ(HostAndWait(*room, QStringLiteral("127.0.0.1"), port, QStringLiteral("Host")), NetRoom::Outcome::Joined);
    ASSERT_TRUE(WaitUntil([&] { return view.log.size() == 1; }));
    ASSERT_EQ(view.log[0], QStringLiteral("No.0(Host):Hostが入室しました"));
  }

  void TearDown() override {
    room.reset();
    EXPECT_TRUE(WorkersEnded());
  }

  int UserCount() const { return static_cast<int>(room->UserNames().size()); }

  // Connects and joins; answers the peer with every record before its join notice read.
  Peer Join(const QByteArray& name) {
    Peer p;
    EXPECT_TRUE(p.Connect(port));
    p.Send(wire::Join(name));
    const int before = UserCount();
    EXPECT_TRUE(WaitUntil([&] { return UserCount() == before + 1; }));
    auto notice = p.Receive();
    EXPECT_TRUE(notice.has_value());
    if (notice) {
      EXPECT_EQ(wire::Get16(*notice, wire::Kind), 2);
    }
    return p;
  }

  // Reads and forgets whatever is waiting on each peer.
  static void Quiet(std::vector<Peer*> peers) {
    for (Peer* p : peers) p->Drain(100);
  }

  QStringList Users() const { return room->UserNames(); }

  std::uint16_t port = 0;
  RecordingView view;
  std::unique_ptr<NetRoom> room;
};
