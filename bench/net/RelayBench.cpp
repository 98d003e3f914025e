// The host's relay on loopback: a room of N members (the host's own and N - 1 plain peers),
// one peer sending chat records, every member receiving them. Reports records per second
// relayed, records lost, and the median and 99th percentile of the time from the send to the
// moment the last member has the record.
#include "tests/support/FreePort.h"
#include <QCoreApplication>
#include <QListWidget>
#include <QThread>
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "net/NetRecord.h"
#include "platform/Worker.h"
#include "net/RoomView.h"
#include "net/Socket.h"

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

int ConnectPeer(std::uint16_t port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = htons(port);
  if (::connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    ::close(s);
    return -1;
  }
  const int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return s;
}

void SendAll(int s, const void* data, std::size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t k = ::send(s, p, n, MSG_NOSIGNAL);
    if (k <= 0) return;
    p += k;
    n -= static_cast<std::size_t>(k);
  }
}

// The bench's chat record: a sequence number and the send time in the Text field's bytes.
constexpr std::size_t SeqAt = 42, StampAt = 46;

// Counts what reaches the host's own member.
class CountingView : public RoomView {
 public:
  void ApplyRecord(const TNetRecord& r) override {
    if (r.Kind() != mkChat || r.Number() != senderNumber) return;
    std::uint32_t seq;
    std::memcpy(&seq, r.data() + SeqAt, 4);
    if (seq < arrival.size()) arrival[seq] = NowNs();
    ++received;
  }
  int PrivateAddressee() const override { return 0; }
  QString PlayerName(int) const override { return {}; }
  QByteArray FacePicture(int) const override { return {}; }

  int senderNumber = 1;
  std::vector<std::int64_t> arrival;
  std::atomic<int> received{0};
};

void Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

void BM_Relay(benchmark::State& state) {
  const int members = static_cast<int>(state.range(0));
  const int rate = static_cast<int>(state.range(1));  // records per second; 0: as fast as it goes
  const int count = static_cast<int>(state.range(2));
  const int peers = members - 1;

  CountingView view;
  TfrmSocket form;
  form.SetRoomView(&view);
  const std::uint16_t port = FreePort();
  int started = 1;
  form.StartHost(QStringLiteral("127.0.0.1"), port, QStringLiteral("Host"), false, [&](int r) { started = r; });
  while (started == 1) Pump();
  if (started != 0) {
    state.SkipWithError("the host did not start");
    return;
  }
  std::vector<int> fds;
  for (int i = 0; i < peers; ++i) {
    const int s = ConnectPeer(port);
    if (s < 0) {
      state.SkipWithError("a peer could not connect");
      return;
    }
    TNetRecord join;
    join.SetKind(mkJoin);
    join.SetName(QStringLiteral("Peer%1").arg(i));
    SendAll(s, join.data(), TNetRecord::Size);
    fds.push_back(s);
    // One at a time, so the first peer is client number 1.
    while (form.lbUserName->count() < i + 2) Pump();
  }
  // Let the join notices arrive, then forget them.
  for (int k = 0; k < 20; ++k) {
    Pump();
    QThread::msleep(5);
  }
  for (int s : fds) {
    char junk[65536];
    while (::recv(s, junk, sizeof junk, MSG_DONTWAIT) > 0) {
    }
  }

  std::vector<double> latencies;
  std::int64_t lost = 0;
  double relayed = 0;
  for (auto _ : state) {
    view.arrival.assign(static_cast<std::size_t>(count), 0);
    view.received = 0;
    std::vector<std::int64_t> sentAt(static_cast<std::size_t>(count), 0);
    // arrivals[peer][seq]
    std::vector<std::vector<std::int64_t>> arrivals(static_cast<std::size_t>(peers),
                                                    std::vector<std::int64_t>(static_cast<std::size_t>(count), 0));
    std::atomic<bool> readersDone{false};
    std::atomic<int> peerReceived{0};

    std::thread reader([&] {
      std::vector<std::string> pending(static_cast<std::size_t>(peers));
      std::vector<pollfd> pfds;
      for (int s : fds) pfds.push_back(pollfd{s, POLLIN, 0});
      const auto giveUp = Clock::now() + std::chrono::seconds(20);
      while (peerReceived.load() < peers * count && Clock::now() < giveUp) {
        if (::poll(pfds.data(), pfds.size(), 50) <= 0) continue;
        for (int i = 0; i < peers; ++i) {
          if (!(pfds[static_cast<std::size_t>(i)].revents & POLLIN)) continue;
          char buf[65536];
          const ssize_t n = ::recv(fds[static_cast<std::size_t>(i)], buf, sizeof buf, 0);
          if (n <= 0) continue;
          const std::int64_t now = NowNs();
          std::string& p = pending[static_cast<std::size_t>(i)];
          p.append(buf, static_cast<std::size_t>(n));
          std::size_t at = 0;
          for (; p.size() - at >= 256; at += 256) {
            const TNetRecord r = TNetRecord::FromBytes(p.data() + at);
            if (r.Kind() != mkChat) continue;
            std::uint32_t seq;
            std::memcpy(&seq, r.data() + SeqAt, 4);
            if (seq < static_cast<std::uint32_t>(count)) {
              arrivals[static_cast<std::size_t>(i)][seq] = now;
              ++peerReceived;
            }
          }
          p.erase(0, at);
        }
      }
      readersDone = true;
    });

    const auto start = Clock::now();
    std::thread sender([&] {
      TNetRecord r;
      r.SetKind(mkChat);
      r.SetName(QStringLiteral("Peer0"));
      for (int i = 0; i < count; ++i) {
        if (rate > 0) {
          const auto due = start + std::chrono::nanoseconds(static_cast<std::int64_t>(i) * 1000000000 / rate);
          while (Clock::now() < due) {
          }
        }
        const auto seq = static_cast<std::uint32_t>(i);
        const std::int64_t stamp = NowNs();
        std::memcpy(r.data() + SeqAt, &seq, 4);
        std::memcpy(r.data() + StampAt, &stamp, 8);
        sentAt[static_cast<std::size_t>(i)] = stamp;
        SendAll(fds[0], r.data(), TNetRecord::Size);
      }
    });

    while (!readersDone.load() || view.received.load() < count) {
      Pump();
      if (readersDone.load() && Clock::now() - start > std::chrono::seconds(20)) break;
    }
    sender.join();
    reader.join();
    const auto end = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());

    for (int i = 0; i < count; ++i) {
      std::int64_t last = view.arrival[static_cast<std::size_t>(i)];
      bool complete = last != 0;
      for (int p = 0; p < peers; ++p) {
        const std::int64_t a = arrivals[static_cast<std::size_t>(p)][static_cast<std::size_t>(i)];
        complete = complete && a != 0;
        last = std::max(last, a);
      }
      if (!complete) {
        ++lost;
        continue;
      }
      latencies.push_back(static_cast<double>(last - sentAt[static_cast<std::size_t>(i)]) / 1000.0);
    }
    relayed += count;
  }

  std::sort(latencies.begin(), latencies.end());
  auto percentile = [&](double q) {
    if (latencies.empty()) return 0.0;
    return latencies[std::min(latencies.size() - 1, static_cast<std::size_t>(q * static_cast<double>(latencies.size())))];
  };
  state.counters["records_per_s"] = benchmark::Counter(relayed, benchmark::Counter::kIsRate);
  state.counters["lost"] = static_cast<double>(lost);
  state.counters["p50_us"] = percentile(0.50);
  state.counters["p99_us"] = percentile(0.99);

  for (int s : fds) ::close(s);
  form.close();
  while (platform::Worker::Running() > 0) Pump();
}

// members, offered rate (0: as fast as the sender can), records per iteration
BENCHMARK(BM_Relay)
    ->ArgNames({"members", "rate", "records"})
    ->Args({10, 0, 20000})
    ->Args({10, 10000, 10000})
    ->Args({10, 1000, 1000})
    ->Args({50, 0, 5000})
    ->Args({50, 1000, 1000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
