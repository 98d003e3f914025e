#include "WirePeer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

#include "platform/Codec.h"

namespace wire {

Bytes Record(std::uint16_t kind) {
  Bytes b{};
  Put16(b, Kind, kind);
  return b;
}
void Put16(Bytes& b, std::size_t o, std::uint16_t v) {
  b[o] = static_cast<std::uint8_t>(v);
  b[o + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t o, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b[o + i] = static_cast<std::uint8_t>(u >> (8 * i));
}
void PutText(Bytes& b, std::size_t o, const QByteArray& text) {
  std::memcpy(b.data() + o, text.constData(), static_cast<std::size_t>(text.size()));
}
std::uint16_t Get16(const Bytes& b, std::size_t o) { return static_cast<std::uint16_t>(b[o] | (b[o + 1] << 8)); }
std::int32_t Get32(const Bytes& b, std::size_t o) {
  return static_cast<std::int32_t>(b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24));
}
QByteArray GetText(const Bytes& b, std::size_t o, std::size_t width) {
  std::size_t n = 0;
  while (n < width && b[o + n] != 0) ++n;
  return QByteArray(reinterpret_cast<const char*>(b.data() + o), static_cast<qsizetype>(n));
}
QByteArray Sjis(const char* utf8) { return platform::ToCp932(QString::fromUtf8(utf8)); }

Bytes Join(const QByteArray& name) {
  Bytes b = Record(2);
  PutText(b, Name, name);
  return b;
}
Bytes Chat(const QByteArray& text, const QByteArray& name) {
  Bytes b = Record(3);
  PutText(b, Name, name);
  PutText(b, Text, text);
  return b;
}
Bytes Game(std::uint16_t sub, std::uint16_t to, std::uint16_t arg) {
  Bytes b = Record(201);
  Put16(b, To, to);
  Put16(b, Sub, sub);
  Put16(b, Arg, arg);
  return b;
}

}  // namespace wire

void Pump(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

Peer::~Peer() { Close(); }

Peer::Peer(Peer&& other) noexcept : fd_(other.fd_), pending_(std::move(other.pending_)), closed_(other.closed_) {
  other.fd_ = -1;
}

bool Peer::Connect(std::uint16_t port, int receiveBuffer) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = htons(port);
  return ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

void Peer::Send(const wire::Bytes& b) const { SendRaw(b.data(), b.size()); }

void Peer::SendRaw(const void* data, std::size_t size) const {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd_, p, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      p += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // The program reads on its own threads but hands records to this thread: keep it going.
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      pollfd pfd{fd_, POLLOUT, 0};
      ::poll(&pfd, 1, 5);
    } else {
      return;
    }
  }
}

std::optional<wire::Bytes> Peer::Receive(int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (pending_.size() < 256) {
    if (closed_) return std::nullopt;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs == 0 ? 0 : 2) > 0) {
      char buf[4096];
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) closed_ = true;
      else pending_.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (t.elapsed() >= timeoutMs) return std::nullopt;
  }
  wire::Bytes b;
  std::memcpy(b.data(), pending_.data(), 256);
  pending_.erase(0, 256);
  return b;
}

namespace {
qint64 RealtimeMs(const timespec& t) { return static_cast<qint64>(t.tv_sec) * 1000 + t.tv_nsec / 1000000; }
}  // namespace

std::vector<TimedRecord> ReadTimed(int fd, int quietMs, std::size_t want) {
  // Stamped with the time the kernel took the bytes in, not the time this thread got round to
  // reading them, so a busy machine cannot close up the gaps between records.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
  timespec start{};
  ::clock_gettime(CLOCK_REALTIME, &start);
  std::vector<TimedRecord> out;
  std::string pending;
  while (want == 0 || out.size() < want) {
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, quietMs) <= 0) break;
    // At most the rest of one record per read, so each record keeps its own arrival time.
    char buf[256];
    iovec io{buf, 256 - pending.size() % 256};
    char control[CMSG_SPACE(sizeof(timespec))];
    msghdr msg{};
    msg.msg_iov = &io;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(fd, &msg, 0);
    if (n <= 0) break;
    timespec arrived{};
    ::clock_gettime(CLOCK_REALTIME, &arrived);
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
      if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMPNS) std::memcpy(&arrived, CMSG_DATA(c), sizeof arrived);
    pending.append(buf, static_cast<std::size_t>(n));
    if (pending.size() < 256) continue;
    TimedRecord r;
    std::memcpy(r.bytes.data(), pending.data(), 256);
    r.ms = RealtimeMs(arrived) - RealtimeMs(start);
    pending.erase(0, 256);
    out.push_back(r);
  }
  return out;
}

bool ReadUntil(Peer& peer, const std::function<void(const wire::Bytes&)>& take, const std::function<bool()>& done,
               int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    if (auto r = peer.Receive(20)) take(*r);
  }
  return true;
}

std::vector<wire::Bytes> Peer::Drain(int quietMs) {
  std::vector<wire::Bytes> out;
  while (auto r = Receive(quietMs)) out.push_back(*r);
  return out;
}

bool Peer::SeesClosed(int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!closed_ && t.elapsed() <= timeoutMs) {
    if (!Receive(20)) continue;
  }
  return closed_;
}

void Peer::Adopt(int fd) {
  Close();
  fd_ = fd;
  pending_.clear();
  closed_ = false;
}

void Peer::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

FakeHost::FakeHost() { fd_ = LoopbackListener(port_); }

FakeHost::~FakeHost() { ::close(fd_); }

bool FakeHost::Accept(Peer& peer, int timeoutMs) {
  if (!WaitUntil(
          [this] {
            pollfd pfd{fd_, POLLIN, 0};
            return ::poll(&pfd, 1, 2) > 0;
          },
          timeoutMs))
    return false;
  const int c = ::accept(fd_, nullptr, nullptr);
  if (c < 0) return false;
  peer.Adopt(c);
  return true;
}
