// The room under slow, chatty and hostile peers: nobody waits for anybody else, and the table
// stays one row per joined connection whatever members send.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <random>
#include <sys/epoll.h>
#include <unistd.h>
#include <cerrno>
#include <atomic>
#include <thread>

#include <poll.h>
#include <sys/socket.h>

#include "RoomFixture.h"
#include "net/WireWriter.h"
#include "platform/OpenFilesLimit.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;
using wire::GetText;

// A member on threads of its own: sends what `next` gives until told to stop, and reads
// everything, counting what arrives and showing each whole record to `seen` (on its thread).
class BusyMember {
 public:
  BusyMember(Peer& peer, std::function<std::optional<wire::Bytes>()> next,
             std::function<void(const wire::Bytes&)> seen = {})
      : fd_(peer.fd()) {
    writer_ = std::thread([this, next] {
      while (!stop_.load()) {
        const auto r = next();
        if (!r) break;
        std::size_t at = 0;
        while (at < r->size() && !stop_.load()) {
          pollfd p{fd_, POLLOUT, 0};
          if (::poll(&p, 1, 50) <= 0) continue;
          const ssize_t n = ::send(fd_, r->data() + at, r->size() - at, MSG_NOSIGNAL | MSG_DONTWAIT);
          if (n > 0) at += static_cast<std::size_t>(n);
          else if (errno != EAGAIN) return;
        }
      }
    });
    reader_ = std::thread([this, seen] {
      char buf[65536];
      std::size_t bytes = 0;
      std::string pending;
      for (;;) {
        // Reads on while the member still sends; once it has stopped, until the line is quiet.
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, 3000);
        if (ready < 0 || (ready == 0 && stop_.load())) break;
        if (ready == 0) continue;
        const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) break;
        bytes += static_cast<std::size_t>(n);
        if (!seen) continue;
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t at = 0;
        for (; at + 256 <= pending.size(); at += 256) {
          wire::Bytes r;
          std::memcpy(r.data(), pending.data() + at, 256);
          seen(r);
        }
        pending.erase(0, at);
      }
      records_ = static_cast<int>(bytes / 256);
    });
  }
  ~BusyMember() {
    Stop();
    Received();
  }
  void Stop() {
    stop_ = true;
    if (writer_.joinable()) writer_.join();
  }
  int Received() {
    if (reader_.joinable()) reader_.join();
    return records_;
  }

 private:
  int fd_;
  std::atomic<bool> stop_{false};
  std::thread writer_, reader_;
  int records_ = 0;
};

TEST_F(HostRoom, TwoMembersChattingAtFullSpeedLeaveTheHostsOwnUserInTheRoom) {
  view.keepLog = false;
  view.keep = false;
  Peer a = Join("A");
  Peer b = Join("B");
  Quiet({&a, &b});
  const int before = view.handled;
  {
    BusyMember chatA(a, [] { return wire::Chat("from A", "A"); });
    BusyMember chatB(b, [] { return wire::Chat("from B", "B"); });
    WaitUntil([] { return false; }, 10000);
    chatA.Stop();
    chatB.Stop();
    EXPECT_GT(chatA.Received(), 0);
  }
  EXPECT_EQ(Users(), (QStringList{"Host", "A", "B"}));
  EXPECT_TRUE(view.left.empty());
  EXPECT_GT(view.handled, before) << "the host's own user went on reading the room";
}

TEST_F(HostRoom, FiveMembersThatNeverReadGoTogetherWhileTheOthersLoseNothing) {
  Peer a = Join("A");
  std::vector<std::unique_ptr<Peer>> stuck;
  for (int i = 0; i < 5; ++i) {
    stuck.push_back(std::make_unique<Peer>());
    ASSERT_TRUE(stuck.back()->Connect(port, 4096));
    stuck.back()->Send(wire::Join("Stuck" + QByteArray::number(i)));
    ASSERT_TRUE(WaitUntil([&] { return UserCount() == 3 + i; }));
  }
  Quiet({&a});

  const int sent = 3000;
  int received = 0, leaves = 0;
  auto take = [&](const wire::Bytes& r) {
    received += Get16(r, wire::Kind) == 3;
    leaves += Get16(r, wire::Kind) == 999;
  };
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < sent; ++i) {
    a.Send(wire::Chat(QByteArray::number(i), "A"));
    while (auto r = a.Receive(0)) take(*r);
  }
  ASSERT_TRUE(ReadUntil(a, take, [&] { return received == sent && leaves == 5; }));
  EXPECT_EQ(Users(), (QStringList{"Host", "A"}));
  // One after another they would take five stall limits; together, about one. (The kernel may
  // still trickle a few bytes into a full peer for a while, hence the margin.)
  EXPECT_LT(clock.elapsed(), 4 * WireWriter::StallLimitMs);
}

TEST_F(HostRoom, StateRequestsDoNotHoldUpAnotherMembersChat) {
  view.pictures[0] = QByteArray(2000, 'k');
  view.pictures[1] = QByteArray(2000, 's');
  Peer asker = Join("R");
  Peer chatter = Join("C");
  Quiet({&asker, &chatter});
  for (int i = 0; i < 20; ++i) asker.Send(wire::Record(200));

  // The chatter sends a stamped line every 20 ms and times each one's way back.
  const int lines = 50;
  QElapsedTimer clock;
  clock.start();
  std::vector<TimedRecord> back;
  std::thread reader([&] { back = ReadTimed(chatter.fd(), 10000, lines); });
  std::thread sender([&] {
    for (int i = 0; i < lines; ++i) {
      wire::Bytes chat = wire::Chat("t", "C");
      wire::Put32(chat, 100, static_cast<std::int32_t>(clock.elapsed()));
      ::send(chatter.fd(), chat.data(), chat.size(), MSG_NOSIGNAL);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  WaitUntil([&] { return back.size() == static_cast<std::size_t>(lines); }, 20000);
  sender.join();
  reader.join();
  ASSERT_EQ(back.size(), static_cast<std::size_t>(lines));
  // ReadTimed's clock started after ours: its stamps are a lower bound of the delay.
  std::vector<qint64> delays;
  for (const TimedRecord& r : back) delays.push_back(std::max<qint64>(0, r.ms - Get32(r.bytes, 100)));
  std::sort(delays.begin(), delays.end());
  EXPECT_LT(delays[delays.size() / 2], 100) << "20 answers with their pauses, 6 s in all, are the asker's alone";
  EXPECT_LT(delays.back(), 1000);
  // And the asker got its 20 answers whole, in order.
  const auto answers = asker.Drain(1000);
  EXPECT_EQ(std::count_if(answers.begin(), answers.end(), [](const auto& r) { return Get16(r, wire::Kind) == 202; }), 20);
}

TEST_F(HostRoom, OneRowPerJoinedConnectionWhateverMembersSend) {
  Peer a = Join("A");
  // A second join on a joined connection changes nothing.
  a.Send(wire::Join("A2"));
  // A name already in the room, letter case aside, is refused with a notice, then closed.
  for (const QByteArray& twin : {QByteArray("HOST"), QByteArray("a")}) {
    Peer t;
    ASSERT_TRUE(t.Connect(port));
    t.Send(wire::Join(twin));
    const auto notice = t.Receive();
    ASSERT_TRUE(notice);
    EXPECT_EQ(Get16(*notice, wire::Kind), 3);
    EXPECT_EQ(Get32(*notice, wire::Number), 99);
    EXPECT_EQ(GetText(*notice, wire::Text, 214), wire::Sjis("同じ名前のユーザーが既に入室しています"));
    EXPECT_TRUE(t.SeesClosed());
  }
  Peer b = Join("B");
  Quiet({&a, &b});
  // A leave under another member's name is dropped, and its sender stays.
  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "B");
  a.Send(leave);
  b.Send(wire::Record(5));
  const auto list = b.Drain();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(GetText(list[2], 20, 30), "B");
  EXPECT_EQ(Users(), (QStringList{"Host", "A", "B"}));
  EXPECT_TRUE(a.Drain().empty());

  // Every list says the same, so position 2 is B, and only B (and the sender) hears it.
  wire::Bytes toB = wire::Record(4);
  wire::PutText(toB, wire::Name, "A");
  wire::Put32(toB, wire::Number, 2);
  wire::PutText(toB, wire::Text, "for B");
  const int hostBefore = view.handled;
  a.Send(toB);
  EXPECT_EQ(b.Drain().size(), 1u);
  EXPECT_EQ(a.Drain().size(), 1u);
  EXPECT_EQ(view.handled, hostBefore);
}

// Stands in for the game screen: a record now and then opens a box that waits for the user
// (three seconds here), and the records that arrive meanwhile are handled inside it.
class BoxOpeningView : public RecordingView {
 public:
  void ApplyRecord(const TNetRecord& r) override {
    RecordingView::ApplyRecord(r);
    if (r.Kind() != mkGame || inBox_ || (boxes > 0 && since_.elapsed() < 5000)) return;
    inBox_ = true;
    ++boxes;
    QEventLoop box;
    QTimer::singleShot(3000, &box, &QEventLoop::quit);
    box.exec();
    since_.start();
    inBox_ = false;
  }
  int boxes = 0;

 private:
  bool inBox_ = false;
  QElapsedTimer since_;
};

TEST(RoomUnderFlood, FourMembersSendingRandomFieldsNeverPushTheHostsOwnUserOut) {
  BoxOpeningView view;
  view.keep = false;
  view.keepLog = false;
  NetRoom room(&view);
  const std::uint16_t port = FreePort();
  ASSERT_EQ(HostAndWait(room, QStringLiteral("127.0.0.1"), port, QStringLiteral("Host")), NetRoom::Outcome::Joined);
  auto joined = [&](int n) { return WaitUntil([&] { return room.UserNames().size() == n; }); };
  ASSERT_TRUE(joined(1));

  std::vector<std::unique_ptr<Peer>> peers;
  for (const char* name : {"F0", "F1", "F2", "F3", "Chatter"}) {
    peers.push_back(std::make_unique<Peer>());
    ASSERT_TRUE(peers.back()->Connect(port));
    peers.back()->Send(wire::Join(name));
    ASSERT_TRUE(joined(static_cast<int>(peers.size()) + 1));
  }
  std::atomic<int> hostGone{0};
  std::atomic<int> chatterLines{0};
  const auto watch = [&](const wire::Bytes& r) {
    if (Get16(r, wire::Kind) == 999 && Get32(r, wire::Number) == 0) ++hostGone;
    if (Get16(r, wire::Kind) == 3 && GetText(r, wire::Text, 214) == "still here") ++chatterLines;
  };
  {
    std::vector<std::unique_ptr<BusyMember>> flood;
    for (int i = 0; i < 4; ++i) {
      auto random = std::make_shared<std::mt19937>(100 + i);
      flood.push_back(std::make_unique<BusyMember>(*peers[static_cast<std::size_t>(i)], [random] {
        static const std::uint16_t kinds[] = {2, 3, 4, 5, 200, 201, 202, 203, 999};
        wire::Bytes r;
        for (auto& b : r) b = static_cast<std::uint8_t>((*random)());
        if ((*random)() % 8 != 0) wire::Put16(r, wire::Kind, kinds[(*random)() % 9]);
        if ((*random)() % 2 == 0) wire::Put16(r, wire::Sub, static_cast<std::uint16_t>((*random)() % 8));
        return std::optional<wire::Bytes>(r);
      }));
    }
    BusyMember chatter(*peers[4], [] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      return std::optional<wire::Bytes>(wire::Chat("still here", "Chatter"));
    }, watch);
    WaitUntil([] { return false; }, 20000);
    for (auto& f : flood) f->Stop();
    chatter.Stop();
    Pump(500);
  }
  EXPECT_GE(view.boxes, 1);
  EXPECT_EQ(room.UserNames().value(0), QStringLiteral("Host"));
  EXPECT_EQ(std::count(view.left.begin(), view.left.end(), 0), 0);
  EXPECT_EQ(view.hostLost, 0);
  EXPECT_EQ(hostGone.load(), 0) << "nobody was told the host's user had gone";
  EXPECT_GT(chatterLines.load(), 10) << "an ordinary member chatted on meanwhile";
}

TEST(RoomUnderLoad, FifteenHundredMembersJoinAndNobodyIsLost) {
  ASSERT_GT(platform::RaiseOpenFilesLimit(), 3 * 1500 + 100) << "three descriptors per member in this process";
  RecordingView view;
  view.keep = false;
  view.keepLog = false;
  NetRoom room(&view);
  const std::uint16_t port = FreePort();
  ASSERT_EQ(HostAndWait(room, QStringLiteral("127.0.0.1"), port, QStringLiteral("Host")), NetRoom::Outcome::Joined);
  // Notices go to those who have joined: a member that came before the host's own join was
  // handled would be announced to everybody but the host's user.
  ASSERT_TRUE(WaitUntil([&] { return view.handled == 1; }));

  // One thread reads every member's line, counting the join notices each receives.
  constexpr int members = 1500;
  std::vector<std::unique_ptr<Peer>> peers;
  std::vector<std::atomic<int>> notices(members);
  std::vector<std::string> pending(members);
  const int poller = ::epoll_create1(EPOLL_CLOEXEC);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    epoll_event events[64];
    char buf[65536];
    while (!done.load()) {
      const int n = ::epoll_wait(poller, events, 64, 50);
      for (int i = 0; i < n; ++i) {
        const int index = static_cast<int>(events[i].data.u32);
        const ssize_t got = ::recv(peers[static_cast<std::size_t>(index)]->fd(), buf, sizeof buf, MSG_DONTWAIT);
        if (got <= 0) continue;
        std::string& p = pending[static_cast<std::size_t>(index)];
        p.append(buf, static_cast<std::size_t>(got));
        std::size_t at = 0;
        for (; at + 256 <= p.size(); at += 256)
          if (static_cast<unsigned char>(p[at]) == 2 && p[at + 1] == 0) ++notices[static_cast<std::size_t>(index)];
        p.erase(0, at);
      }
    }
  });
  peers.reserve(members);
  for (int wave = 0; wave < members; wave += 100) {
    for (int i = wave; i < wave + 100; ++i) {
      peers.push_back(std::make_unique<Peer>());
      ASSERT_TRUE(peers.back()->Connect(port));
      epoll_event e{};
      e.events = EPOLLIN;
      e.data.u32 = static_cast<std::uint32_t>(i);
      ::epoll_ctl(poller, EPOLL_CTL_ADD, peers.back()->fd(), &e);
    }
    // In order, so member i's notices are those of members i to the last.
    for (int i = wave; i < wave + 100; ++i) {
      peers[static_cast<std::size_t>(i)]->Send(wire::Join("M" + QByteArray::number(i)));
      ASSERT_TRUE(WaitUntil([&] { return room.UserNames().size() == i + 2; }, 30000));
    }
  }
  const bool all = WaitUntil([&] {
    for (int i = 0; i < members; ++i)
      if (notices[static_cast<std::size_t>(i)].load() < members - i) return false;
    return true;
  }, 30000);
  done = true;
  reader.join();
  ::close(poller);
  EXPECT_TRUE(all);
  EXPECT_EQ(room.UserNames().size(), members + 1);
  EXPECT_TRUE(view.left.empty());
  EXPECT_TRUE(WaitUntil([&] { return view.handled == members + 1; })) << "the host's own user saw every join";
}

}  // namespace
