#include "platform/IpAddress.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

namespace platform {

IpAddress IpAddress::V4(std::uint32_t networkOrder) {
  IpAddress a;
  std::memcpy(a.bytes_.data(), &networkOrder, 4);
  return a;
}

IpAddress IpAddress::V6(const std::array<std::uint8_t, 16>& bytes, std::uint32_t scopeId) {
  IpAddress a;
  a.family_ = Family::V6;
  a.bytes_ = bytes;
  a.scopeId_ = scopeId;
  return a;
}

IpAddress IpAddress::AnyV4() { return V4(htonl(INADDR_ANY)); }
IpAddress IpAddress::AnyV6() { return V6({}); }
IpAddress IpAddress::LoopbackV4() { return V4(htonl(INADDR_LOOPBACK)); }
IpAddress IpAddress::LoopbackV6() {
  std::array<std::uint8_t, 16> b{};
  b[15] = 1;
  return V6(b);
}

std::optional<IpAddress> IpAddress::FromText(const QString& text) {
  QString t = text.trimmed();
  if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) t = t.mid(1, t.size() - 2);
  if (t.isEmpty()) return std::nullopt;
  const QByteArray latin = t.toLatin1();
  if (QString::fromLatin1(latin) != t) return std::nullopt;
  if (!t.contains(QLatin1Char(':'))) {
    in_addr a{};
    if (::inet_aton(latin.constData(), &a) == 0) return std::nullopt;
    return V4(a.s_addr);
  }
  // The zone of a link-local address names the interface it is reached through.
  QByteArray address = latin;
  std::uint32_t scope = 0;
  if (const qsizetype percent = latin.indexOf('%'); percent >= 0) {
    const QByteArray zone = latin.mid(percent + 1);
    address = latin.left(percent);
    bool numeric = false;
    scope = zone.toUInt(&numeric);
    if (!numeric) scope = ::if_nametoindex(zone.constData());
    if (scope == 0) return std::nullopt;
  }
  std::array<std::uint8_t, 16> b{};
  if (::inet_pton(AF_INET6, address.constData(), b.data()) != 1) return std::nullopt;
  return V6(b, scope);
}

std::optional<IpAddress> IpAddress::FromSockaddr(const sockaddr* address) {
  if (!address) return std::nullopt;
  if (address->sa_family == AF_INET) {
    sockaddr_in in{};
    std::memcpy(&in, address, sizeof in);
    return V4(in.sin_addr.s_addr);
  }
  if (address->sa_family == AF_INET6) {
    sockaddr_in6 in6{};
    std::memcpy(&in6, address, sizeof in6);
    std::array<std::uint8_t, 16> b{};
    std::memcpy(b.data(), &in6.sin6_addr, 16);
    return V6(b, in6.sin6_scope_id);
  }
  return std::nullopt;
}

namespace {
bool InV4(const std::uint8_t* b, std::uint8_t first, std::uint8_t second, int bits) {
  const std::uint32_t value = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
  const std::uint32_t net = (std::uint32_t{first} << 24) | (std::uint32_t{second} << 16);
  const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  return (value & mask) == net;
}
// An IPv4 address mapped into IPv6 (::ffff:a.b.c.d) is judged as the IPv4 address it carries.
bool MappedV4(const std::array<std::uint8_t, 16>& b) {
  for (int i = 0; i < 10; ++i)
    if (b[i] != 0) return false;
  return b[10] == 0xFF && b[11] == 0xFF;
}
}  // namespace

IpAddress IpAddress::Unmapped() const {
  if (IsV4() || !MappedV4(bytes_)) return *this;
  std::uint32_t v4 = 0;
  std::memcpy(&v4, bytes_.data() + 12, 4);
  return V4(v4);
}

bool IpAddress::IsLoopback() const {
  if (IsV4()) return bytes_[0] == 127;
  if (MappedV4(bytes_)) return bytes_[12] == 127;
  return *this == LoopbackV6();
}

bool IpAddress::IsUnspecified() const {
  if (IsV4()) return InV4(bytes_.data(), 0, 0, 32);
  return bytes_ == std::array<std::uint8_t, 16>{};
}

bool IpAddress::IsLinkLocal() const {
  if (IsV4()) return InV4(bytes_.data(), 169, 254, 16);
  return bytes_[0] == 0xFE && (bytes_[1] & 0xC0) == 0x80;
}

bool IpAddress::IsPrivate() const {
  if (IsV4())
    return InV4(bytes_.data(), 10, 0, 8) || InV4(bytes_.data(), 172, 16, 12) || InV4(bytes_.data(), 192, 168, 16) ||
           InV4(bytes_.data(), 100, 64, 10);
  return (bytes_[0] & 0xFE) == 0xFC;
}

bool IpAddress::IsGlobal() const {
  if (IsLoopback() || IsUnspecified() || IsLinkLocal() || IsPrivate()) return false;
  const std::uint8_t* b = bytes_.data();
  if (IsV4())
    return !InV4(b, 224, 0, 4) && !InV4(b, 240, 0, 4) && !(b[0] == 192 && b[1] == 0 && b[2] == 2) &&
           !(b[0] == 198 && b[1] == 51 && b[2] == 100) && !(b[0] == 203 && b[1] == 0 && b[2] == 113);
  const bool documentation = b[0] == 0x20 && b[1] == 0x01 && b[2] == 0x0D && b[3] == 0xB8;
  return b[0] != 0xFF && !MappedV4(bytes_) && !documentation;
}

QString IpAddress::Text() const {
  char buf[INET6_ADDRSTRLEN + IF_NAMESIZE + 2] = {};
  ::inet_ntop(IsV4() ? AF_INET : AF_INET6, bytes_.data(), buf, INET6_ADDRSTRLEN);
  QString text = QString::fromLatin1(buf);
  if (!IsV4() && scopeId_ != 0) {
    char name[IF_NAMESIZE] = {};
    text += QLatin1Char('%') +
            (::if_indextoname(scopeId_, name) ? QString::fromLatin1(name) : QString::number(scopeId_));
  }
  return text;
}

QString IpAddress::EndpointText(std::uint16_t port) const {
  const QString address = IsV4() ? Text() : QLatin1Char('[') + Text() + QLatin1Char(']');
  return address + QLatin1Char(':') + QString::number(port);
}

unsigned IpAddress::ToSockaddr(std::uint16_t port, sockaddr_storage& out) const {
  std::memset(&out, 0, sizeof out);
  if (IsV4()) {
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_port = htons(port);
    std::memcpy(&in.sin_addr, bytes_.data(), 4);
    std::memcpy(&out, &in, sizeof in);
    return sizeof in;
  }
  sockaddr_in6 in6{};
  in6.sin6_family = AF_INET6;
  in6.sin6_port = htons(port);
  in6.sin6_scope_id = scopeId_;
  std::memcpy(&in6.sin6_addr, bytes_.data(), 16);
  std::memcpy(&out, &in6, sizeof in6);
  return sizeof in6;
}

}  // namespace platform
