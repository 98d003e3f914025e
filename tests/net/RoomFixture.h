#pragma once
#include <QListWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "WirePeer.h"
#include "net/NetRecord.h"
#include "net/NetWorker.h"
#include "net/RoomView.h"
#include "net/Socket.h"

// Stands in for the game screen: keeps what the socket form hands it.
class RecordingView : public RoomView {
 public:
  void ApplyRecord(const TNetRecord& r) override {
    ++handled;
    if (keep) applied.push_back(r);
  }
  int PrivateAddressee() const override { return addressee; }
  std::vector<_Rev> Placements() const override { return placements; }
  QString PlayerName(int side) const override { return names[side - 1]; }
  QByteArray FacePicture(int side) const override { return pictures[side - 1]; }
  void MemberLeft(int clientNumber) override { left.push_back(clientNumber); }

  std::vector<TNetRecord> applied;
  bool keep = true;  // off for floods: only counted
  int handled = 0;
  std::vector<int> left;
  std::vector<_Rev> placements;
  int addressee = 0;
  QString names[2] = {QStringLiteral("Kuro"), QStringLiteral("Shiro")};  // sides 1 and 2
  QByteArray pictures[2];
};

// A hosted room on 127.0.0.1 whose own member is "Host" (client number 0), with test peers
// that join it as further members.
class HostRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    port = FreePort();
    form = std::make_unique<TfrmSocket>();
    form->SetRoomView(&view);
    form->SetOutputControl(&log);
    ASSERT_EQ(form->StartHost(QStringLiteral("127.0.0.1"), port, QStringLiteral("Host")), 0);
    ASSERT_TRUE(PumpUntil([&] { return log.count() == 1; }));
    ASSERT_EQ(log.item(0)->text(), QStringLiteral("No.0(Host):Hostが入室しました"));
  }

  void TearDown() override {
    form.reset();
    EXPECT_TRUE(NetWorker::WaitForAll(3000));
  }

  // Connects and joins; answers the peer with every record before its join notice read.
  Peer Join(const QByteArray& name) {
    Peer p;
    EXPECT_TRUE(p.Connect(port));
    p.Send(wire::Join(name));
    const int before = form->lbUserName->count();
    EXPECT_TRUE(PumpUntil([&] { return form->lbUserName->count() == before + 1; }));
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

  QStringList Users() const {
    QStringList out;
    for (int i = 0; i < form->lbUserName->count(); ++i) out << form->lbUserName->item(i)->text();
    return out;
  }

  std::uint16_t port = 0;
  RecordingView view;
  QListWidget log;
  std::unique_ptr<TfrmSocket> form;
};
