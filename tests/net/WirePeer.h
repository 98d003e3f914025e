#pragma once
// A peer written for the tests: it speaks the wire format from raw bytes, so the records the
// program sends and understands are checked from outside the code that makes them.
#include "tests/support/FreePort.h"
#include "tests/support/Wait.h"
#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wire {

using Bytes = std::array<std::uint8_t, 256>;

Bytes Record(std::uint16_t kind);  // zeroed, with Kind set
void Put16(Bytes& b, std::size_t offset, std::uint16_t v);
void Put32(Bytes& b, std::size_t offset, std::int32_t v);
void PutText(Bytes& b, std::size_t offset, const QByteArray& text);  // raw bytes, no cut
std::uint16_t Get16(const Bytes& b, std::size_t offset);
std::int32_t Get32(const Bytes& b, std::size_t offset);
QByteArray GetText(const Bytes& b, std::size_t offset, std::size_t width);  // up to a NUL
QByteArray Sjis(const char* utf8);  // a literal in code page 932

// Field offsets, written out here on purpose rather than taken from the program.
constexpr std::size_t Kind = 0, To = 2, Sub = 4, Arg = 6, Number = 8, Name = 12, Text = 42;

Bytes Join(const QByteArray& name);
Bytes Chat(const QByteArray& text, const QByteArray& name = "x");
Bytes Game(std::uint16_t sub, std::uint16_t to = 0, std::uint16_t arg = 0);

}  // namespace wire

// Lets the main thread handle its events for a while; the program under test lives on it.
void Pump(int ms);
// Pumps and hands every record the peer receives to take() until done() or the time is up.
class Peer;
bool ReadUntil(Peer& peer, const std::function<void(const wire::Bytes&)>& take, const std::function<bool()>& done,
               int timeoutMs = 20000);

class Peer {
 public:
  Peer() = default;
  ~Peer();
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  Peer(Peer&& other) noexcept;

  bool Connect(std::uint16_t port, int receiveBuffer = 0);
  void Send(const wire::Bytes& b) const;
  void SendRaw(const void* data, std::size_t size) const;
  // The next whole record, pumping events meanwhile; nothing when none came in time.
  std::optional<wire::Bytes> Receive(int timeoutMs = 3000);
  // Every record that arrives until the line has been quiet for quietMs.
  std::vector<wire::Bytes> Drain(int quietMs = 150);
  // True once the other end has closed the connection (within the time).
  bool SeesClosed(int timeoutMs = 3000);
  void Adopt(int fd);
  void Close();
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
  std::string pending_;
  bool closed_ = false;
};

// Reads records on whatever thread calls it, noting when the kernel took each in (ms from the
// call), until `want` records have come (0: no count) or the line has been quiet for quietMs.
// For timing what the program sends from outside its threads.
struct TimedRecord {
  wire::Bytes bytes;
  qint64 ms;
};
std::vector<TimedRecord> ReadTimed(int fd, int quietMs, std::size_t want = 0);

// The listening side of a fake host, for testing a member.
class FakeHost {
 public:
  FakeHost();
  ~FakeHost();
  std::uint16_t port() const { return port_; }
  // Accepts one connection (pumping events meanwhile) and wraps it as a peer.
  bool Accept(Peer& peer, int timeoutMs = 3000);

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};
