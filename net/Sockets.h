#pragma once
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// The thin blocking IPv4 socket layer. Every operation answers 0 (or a socket) for success
// and -1 for failure. Addresses are IPv4 in network byte order.
namespace sockets {

using Socket = int;
inline constexpr Socket InvalidSocket = -1;

int Startup();  // nothing to start on this platform; kept so callers read as designed

Socket OpenTcp();
int Close(Socket s);
int Shutdown(Socket s);  // both directions; wakes a thread blocked in recv or accept on it
// Reading only: wakes a thread blocked in recv while what is queued for sending still goes out.
int ShutdownReading(Socket s);

// A dotted IPv4 address is used as it stands; anything else is looked up and its first
// IPv4 address taken.
int Resolve(const QString& host, std::uint32_t& address);
QString AddressText(std::uint32_t address);  // "%d.%d.%d.%d"

int Bind(Socket s, std::uint32_t address, std::uint16_t port);  // with SO_REUSEADDR
int Listen(Socket s, int backlog);
Socket Accept(Socket s);
// Waits up to timeoutMs for something to read or accept: 1 ready, 0 not yet, -1 error.
int WaitReadable(Socket s, int timeoutMs);
// Gives up after timeoutMs, so a host that never answers cannot hold the caller for minutes.
int Connect(Socket s, std::uint32_t address, std::uint16_t port, int timeoutMs);

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
