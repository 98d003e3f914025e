#pragma once
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct sockaddr;
struct sockaddr_storage;

namespace platform {

// One IPv4 or IPv6 address, as the socket layer and the room's address lines use it.
class IpAddress {
 public:
  enum class Family { V4, V6 };

  IpAddress() = default;
  static IpAddress V4(std::uint32_t networkOrder);
  static IpAddress V6(const std::array<std::uint8_t, 16>& bytes, std::uint32_t scopeId = 0);
  static IpAddress AnyV4();
  static IpAddress AnyV6();
  static IpAddress LoopbackV4();
  static IpAddress LoopbackV6();
  // A literal as a user types it: dotted IPv4 (with inet_aton's shorter forms), or IPv6 with
  // or without brackets and with an optional %zone. Nothing for anything else, names included.
  static std::optional<IpAddress> FromText(const QString& text);
  // The address part of a socket address of either family; nothing for any other family.
  static std::optional<IpAddress> FromSockaddr(const sockaddr* address);

  Family family() const { return family_; }
  bool IsV4() const { return family_ == Family::V4; }
  const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }  // IPv4 in the first 4
  std::uint32_t scopeId() const { return scopeId_; }

  // An IPv4 address mapped into IPv6 (::ffff:a.b.c.d), as a socket for both families gives its
  // IPv4 peers, as the IPv4 address it is; any other address as it is.
  IpAddress Unmapped() const;

  bool IsLoopback() const;      // 127/8, ::1, and IPv4 loopback mapped into IPv6
  bool IsUnspecified() const;   // 0.0.0.0 and ::
  bool IsLinkLocal() const;     // 169.254/16, fe80::/10
  bool IsPrivate() const;       // RFC 1918, 100.64/10 (shared by carriers' NAT), fc00::/7
  // None of the above, nor multicast, nor the ranges kept for documentation (192.0.2/24,
  // 198.51.100/24, 203.0.113/24, 2001:db8::/32).
  bool IsGlobal() const;

  // "192.168.1.20", "2001:db8::20" (with "%zone" for a link-local address with a scope).
  QString Text() const;
  // With the port, as another machine types it: "192.168.1.20:5000", "[2001:db8::20]:5000".
  QString EndpointText(std::uint16_t port) const;

  // Fills a socket address for this address and port; answers its length.
  unsigned ToSockaddr(std::uint16_t port, sockaddr_storage& out) const;

  bool operator==(const IpAddress&) const = default;

 private:
  Family family_ = Family::V4;
  std::array<std::uint8_t, 16> bytes_{};
  std::uint32_t scopeId_ = 0;
};

}  // namespace platform
