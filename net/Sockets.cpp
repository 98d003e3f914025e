#include "net/Sockets.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sockets {

Socket OpenTcp(IpAddress::Family family) {
  const int s = ::socket(family == IpAddress::Family::V4 ? AF_INET : AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return s < 0 ? InvalidSocket : s;
}

int Close(Socket s) { return s >= 0 && ::close(s) == 0 ? 0 : -1; }

int Shutdown(Socket s) { return s >= 0 && ::shutdown(s, SHUT_RDWR) == 0 ? 0 : -1; }

int ShutdownReading(Socket s) { return s >= 0 && ::shutdown(s, SHUT_RD) == 0 ? 0 : -1; }

namespace {
// Records are small and answer one another: each goes out at once, not held back for the
// peer's acknowledgement of the one before.
void SendAtOnce(Socket s) {
  const int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

std::optional<Endpoint> EndpointOf(const sockaddr_storage& sa) {
  const std::optional<IpAddress> address = IpAddress::FromSockaddr(reinterpret_cast<const sockaddr*>(&sa));
  if (!address) return std::nullopt;
  Endpoint e;
  e.address = address->Unmapped();
  std::uint16_t port = 0;
  if (sa.ss_family == AF_INET) port = ntohs(reinterpret_cast<const sockaddr_in*>(&sa)->sin_port);
  else port = ntohs(reinterpret_cast<const sockaddr_in6*>(&sa)->sin6_port);
  e.port = port;
  return e;
}
}  // namespace

Socket Listen(const IpAddress& address, std::uint16_t port, int backlog, bool& inUse) {
  inUse = false;
  const Socket s = OpenTcp(address.family());
  if (s == InvalidSocket) return InvalidSocket;
  const int on = 1, off = 0;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (!address.IsV4()) ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, address.IsUnspecified() ? &off : &on, sizeof on);
  sockaddr_storage sa{};
  const socklen_t len = address.ToSockaddr(port, sa);
  if (::bind(s, reinterpret_cast<const sockaddr*>(&sa), len) != 0 || ::listen(s, backlog) != 0) {
    inUse = errno == EADDRINUSE;
    ::close(s);
    return InvalidSocket;
  }
  return s;
}

Socket Accept(Socket s) {
  int c;
  do c = ::accept4(s, nullptr, nullptr, SOCK_CLOEXEC);
  while (c < 0 && errno == EINTR);
  if (c < 0) return InvalidSocket;
  SendAtOnce(c);
  return c;
}

int WaitReadable(Socket s, int timeoutMs) {
  pollfd pfd{s, POLLIN, 0};
  const int rc = ::poll(&pfd, 1, timeoutMs);
  if (rc < 0) return errno == EINTR ? 0 : -1;
  return rc > 0 ? 1 : 0;
}

std::optional<Endpoint> LocalEndpoint(Socket s) {
  sockaddr_storage sa{};
  socklen_t len = sizeof sa;
  if (::getsockname(s, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return std::nullopt;
  return EndpointOf(sa);
}

std::optional<Endpoint> PeerEndpoint(Socket s) {
  sockaddr_storage sa{};
  socklen_t len = sizeof sa;
  if (::getpeername(s, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return std::nullopt;
  return EndpointOf(sa);
}

int StartConnect(Socket s, const IpAddress& address, std::uint16_t port) {
  const int flags = ::fcntl(s, F_GETFL, 0);
  if (flags < 0 || ::fcntl(s, F_SETFL, flags | O_NONBLOCK) != 0) return -1;
  sockaddr_storage sa{};
  const socklen_t len = address.ToSockaddr(port, sa);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&sa), len) == 0) return 0;
  return errno == EINPROGRESS || errno == EINTR ? 1 : -1;
}

int ConnectError(Socket s) {
  int error = 0;
  socklen_t len = sizeof error;
  if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return errno;
  return error;
}

int FinishConnect(Socket s) {
  const int flags = ::fcntl(s, F_GETFL, 0);
  if (flags < 0 || ::fcntl(s, F_SETFL, flags & ~O_NONBLOCK) != 0) return -1;
  SendAtOnce(s);
  return 0;
}

RecordReader::RecordReader(std::size_t maxBatch) : buffer_(RecordSize * std::max<std::size_t>(maxBatch, 1)) {}

int RecordReader::Next(Socket s, std::vector<std::uint8_t>& records) {
  for (;;) {
    if (used_ == buffer_.size()) break;
    // Blocks only until the first whole record; after that takes what has arrived already.
    const bool whole = used_ >= RecordSize;
    const ssize_t n = ::recv(s, buffer_.data() + used_, buffer_.size() - used_, whole ? MSG_DONTWAIT : 0);
    if (n > 0) {
      used_ += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (whole) break;  // nothing more yet, or the end, which the next call finds
    return -1;  // error, or the peer closed the stream
  }
  const std::size_t take = used_ / RecordSize * RecordSize;
  records.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(take));
  std::memmove(buffer_.data(), buffer_.data() + take, used_ - take);
  used_ -= take;
  return 0;
}

int SetSendBuffer(Socket s, int bytes) {
  return ::setsockopt(s, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes) == 0 ? 0 : -1;
}

}  // namespace sockets
