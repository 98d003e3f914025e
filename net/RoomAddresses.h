#pragma once
// Where a host listens and what it tells others about where it can be reached: decisions kept
// apart from the sockets so they can be checked with any list of addresses.
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/InterfaceAddresses.h"
#include "platform/IpAddress.h"

using platform::IpAddress;

// Where a host listens: on every interface (IPv4 and IPv6), unless the user named one address
// of this machine that is not loopback, which alone is then used.
struct ListenPlan {
  bool everywhere = true;
  IpAddress address;  // when not everywhere
};
// hostName as typed (or the computer's own name, or "localhost"); resolved: its addresses.
ListenPlan PlanListening(const QString& hostName, const QString& computerName, const std::vector<IpAddress>& resolved);

// The addresses at which other machines can join a room that listens everywhere: this
// machine's own, without loopback and IPv6 link-local ones, global ones first, IPv4 before IPv6
// within each kind, otherwise in the system's order.
std::vector<IpAddress> AdvertisedAddresses(const std::vector<platform::InterfaceAddress>& interfaces);

// Whether a home router stands between these addresses and the internet: an IPv4 address from
// a private range, and none that is global.
bool BehindRouter(const std::vector<IpAddress>& addresses);

// The chat view's lines: 「この部屋のアドレス: 192.168.1.20:5000, [2001:db8::20]:5000」 (nothing
// without addresses), 「インターネットからは 203.0.113.5:5000」 and the router's refusal.
QString AddressLine(const std::vector<IpAddress>& addresses, std::uint16_t port);
QString InternetLine(const IpAddress& external, std::uint16_t port);
QString RouterRefusedLine();
