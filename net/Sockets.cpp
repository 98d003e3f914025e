#include "net/Sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace sockets {

int Startup() { return 0; }

Socket OpenTcp() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return s < 0 ? InvalidSocket : s;
}

int Close(Socket s) { return s >= 0 && ::close(s) == 0 ? 0 : -1; }

int Shutdown(Socket s) { return s >= 0 && ::shutdown(s, SHUT_RDWR) == 0 ? 0 : -1; }

int ShutdownReading(Socket s) { return s >= 0 && ::shutdown(s, SHUT_RD) == 0 ? 0 : -1; }

int Resolve(const QString& host, std::uint32_t& address) {
  const QByteArray name = host.toLocal8Bit();
  in_addr a{};
  if (!name.isEmpty() && ::inet_aton(name.constData(), &a) != 0) {
    address = a.s_addr;
    return 0;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (name.isEmpty() || ::getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found) return -1;
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(found);
  return 0;
}

QString AddressText(std::uint32_t address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address);
  return QString::asprintf("%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
}

namespace {
sockaddr_in Endpoint(std::uint32_t address, std::uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = address;
  sa.sin_port = htons(port);
  return sa;
}
// Records are small and answer one another: each goes out at once, not held back for the
// peer's acknowledgement of the one before.
void SendAtOnce(Socket s) {
  const int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}
}  // namespace

int Bind(Socket s, std::uint32_t address, std::uint16_t port) {
  const int on = 1;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in sa = Endpoint(address, port);
  return ::bind(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : -1;
}

int Listen(Socket s, int backlog) { return ::listen(s, backlog) == 0 ? 0 : -1; }

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

int Connect(Socket s, std::uint32_t address, std::uint16_t port, int timeoutMs) {
  const sockaddr_in sa = Endpoint(address, port);
  const int flags = ::fcntl(s, F_GETFL, 0);
  if (flags < 0 || ::fcntl(s, F_SETFL, flags | O_NONBLOCK) != 0) return -1;
  int rc = ::connect(s, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  if (rc != 0 && (errno == EINPROGRESS || errno == EINTR)) {
    pollfd pfd{s, POLLOUT, 0};
    do rc = ::poll(&pfd, 1, timeoutMs);
    while (rc < 0 && errno == EINTR);
    int error = 0;
    socklen_t len = sizeof error;
    rc = rc == 1 && ::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0 ? 0 : -1;
  }
  if (::fcntl(s, F_SETFL, flags) != 0) return -1;
  if (rc != 0) return -1;
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
