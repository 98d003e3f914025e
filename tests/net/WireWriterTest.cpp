// Both ends of a connection without a window: the writer's queues and the record reader, on
// loopback TCP pairs.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "net/Sockets.h"
#include "net/WireWriter.h"
#include "tests/support/FreePort.h"
#include "tests/support/Wait.h"

namespace {

using Clock = std::chrono::steady_clock;

// Two connected loopback sockets: [0] the program's end, [1] the peer's.
struct TcpPair {
  int fd[2] = {-1, -1};
  explicit TcpPair(int peerReceiveBuffer = 0) {
    std::uint16_t port = 0;
    const int listener = LoopbackListener(port, 1);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(port);
    fd[1] = ::socket(AF_INET, SOCK_STREAM, 0);
    if (peerReceiveBuffer > 0) ::setsockopt(fd[1], SOL_SOCKET, SO_RCVBUF, &peerReceiveBuffer, sizeof peerReceiveBuffer);
    ::connect(fd[1], reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    fd[0] = ::accept(listener, nullptr, nullptr);
    ::close(listener);
    if (peerReceiveBuffer > 0) sockets::SetSendBuffer(fd[0], 16 * 1024);
  }
  ~TcpPair() {
    for (int f : fd)
      if (f >= 0) ::close(f);
  }
};

// Reads up to `want` bytes (or until the stream ends or the time is up).
std::string ReadBytes(int fd, std::size_t want, int timeoutMs = 10000) {
  std::string got;
  const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got.size() < want && Clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buf[65536];
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    got.append(buf, static_cast<std::size_t>(n));
  }
  return got;
}

TEST(WireWriter, KeepsEachLinesOrderWithItsPauses) {
  TcpPair a, b;
  WireWriter writer;
  const auto la = writer.Open(a.fd[0]);
  const auto lb = writer.Open(b.fd[0]);
  const auto start = Clock::now();
  writer.Send(la, "first", 5);
  writer.Pause(la, 100);
  writer.Send(la, "second", 6);
  writer.Send(lb, "other", 5);
  EXPECT_EQ(ReadBytes(b.fd[1], 5), "other");
  EXPECT_EQ(ReadBytes(a.fd[1], 5), "first");
  EXPECT_EQ(ReadBytes(a.fd[1], 6), "second");
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100)) << "what follows a pause waits for it";

  // Closing with flushFirst lets the queue go out, then the peer sees the end.
  writer.Send(la, "last", 4);
  writer.Close(la, true);
  ::close(a.fd[0]);
  a.fd[0] = -1;
  EXPECT_EQ(ReadBytes(a.fd[1], 100), "last");
}

TEST(WireWriter, CutsAPeerThatStopsReadingAndSparesASlowOne) {
  TcpPair stuck(4096), slow(4096);
  WireWriter writer;
  const auto ls = writer.Open(stuck.fd[0]);
  const auto ll = writer.Open(slow.fd[0]);
  const std::string block(64 * 1024, 'x');
  for (int i = 0; i < 8; ++i) {
    writer.Send(ls, block.data(), block.size());
    writer.Send(ll, block.data(), block.size());
  }
  // The slow one takes 4 KiB every half second (twice the least a moving reader must take),
  // for longer in all than the stall limit.
  std::size_t slowGot = 0;
  const auto start = Clock::now();
  while (Clock::now() - start < std::chrono::milliseconds(2 * WireWriter::StallLimitMs)) {
    slowGot += ReadBytes(slow.fd[1], 4096, 500).size();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  EXPECT_TRUE(WaitUntil([&] { return writer.Cut(ls); }));
  EXPECT_FALSE(writer.Cut(ll)) << "a reader that moves is not cut";
  slowGot += ReadBytes(slow.fd[1], 8 * block.size() - slowGot).size();
  EXPECT_EQ(slowGot, 8 * block.size());
  // The cut peer finds its connection ended after what it had been given.
  std::string rest = ReadBytes(stuck.fd[1], 8 * block.size());
  EXPECT_LT(rest.size(), 8 * block.size());
}

TEST(WireWriter, CutsALineWhoseQueuePassesTheLimitAtOnce) {
  TcpPair p(4096);
  WireWriter writer;
  const auto line = writer.Open(p.fd[0]);
  const std::string block(1024 * 1024, 'y');
  for (std::size_t sent = 0; sent <= WireWriter::QueueLimit; sent += block.size()) writer.Send(line, block.data(), block.size());
  EXPECT_TRUE(writer.Cut(line));
  EXPECT_LE(writer.Queued(line), WireWriter::QueueLimit);
}

TEST(RecordReader, HandsOverWholeRecordsAndKeepsAHalf) {
  TcpPair p;
  std::string records(256 + 128, '\0');
  records[0] = 1;
  records[256] = 2;
  ASSERT_EQ(::send(p.fd[1], records.data(), records.size(), 0), static_cast<ssize_t>(records.size()));
  sockets::RecordReader reader;
  std::vector<std::uint8_t> got;
  ASSERT_EQ(reader.Next(p.fd[0], got), 0);
  ASSERT_EQ(got.size(), 256u) << "one and a half records: the whole one only";
  EXPECT_EQ(got[0], 1);
  std::string rest(128, '\0');
  ASSERT_EQ(::send(p.fd[1], rest.data(), rest.size(), 0), 128);
  ASSERT_EQ(reader.Next(p.fd[0], got), 0);
  ASSERT_EQ(got.size(), 256u);
  EXPECT_EQ(got[0], 2);
  ::shutdown(p.fd[1], SHUT_WR);
  EXPECT_EQ(reader.Next(p.fd[0], got), -1);
}

}  // namespace
