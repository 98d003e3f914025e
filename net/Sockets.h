#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/IpAddress.h"

// The thin socket layer over IPv4 and IPv6. Every operation answers 0 (or a socket) for
// success and -1 for failure.
namespace sockets {

using Socket = int;
inline constexpr Socket InvalidSocket = -1;
using platform::IpAddress;

Socket OpenTcp(IpAddress::Family family);
int Close(Socket s);
int Shutdown(Socket s);  // both directions; wakes a thread blocked in recv or accept on it
// Reading only: wakes a thread blocked in recv while what is queued for sending still goes out.
int ShutdownReading(Socket s);

// A listening socket on address and port (SO_REUSEADDR). On the unspecified IPv6 address it
// takes IPv4 connections too (one socket for both families). `inUse` tells a port another
// socket holds apart from any other failure.
Socket Listen(const IpAddress& address, std::uint16_t port, int backlog, bool& inUse);
Socket Accept(Socket s);
// Waits up to timeoutMs for something to read or accept: 1 ready, 0 not yet, -1 error.
int WaitReadable(Socket s, int timeoutMs);

// A connection's own end and the other end; an IPv4 peer of a socket that takes both families
// is given as the IPv4 address it is.
struct Endpoint {
  IpAddress address;
  std::uint16_t port = 0;
  bool operator==(const Endpoint&) const = default;
};
std::optional<Endpoint> LocalEndpoint(Socket s);
std::optional<Endpoint> PeerEndpoint(Socket s);

// Starts connecting a socket made non-blocking: 0 connected already, 1 under way (poll for
// writing, then ConnectError), -1 failed.
int StartConnect(Socket s, const IpAddress& address, std::uint16_t port);
int ConnectError(Socket s);  // 0 once connected, else the error
// Back to blocking, records sent as they are made: the socket is ready for the room.
int FinishConnect(Socket s);

// Reads the stream in whole records of exactly 256 bytes however the stream splits or joins
// them: waits for at least one, then takes every whole record that has already arrived (up to
// a batch), keeping a part of a record for the next call.
class RecordReader {
 public:
  static constexpr std::size_t RecordSize = 256;
  explicit RecordReader(std::size_t maxBatch = 64);
  // Fills `records` with 1 to maxBatch records of 256 bytes each, back to back; 0, or -1 on
  // an error or a closed stream.
  int Next(Socket s, std::vector<std::uint8_t>& records);

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
};

// Caps the kernel's send buffer for one connection, so a peer that stops reading is noticed.
int SetSendBuffer(Socket s, int bytes);

}  // namespace sockets
