#include "platform/InterfaceAddresses.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace platform {
namespace {
std::function<std::vector<InterfaceAddress>()>& Override() {
  static std::function<std::vector<InterfaceAddress>()> provider;
  return provider;
}
}  // namespace

void SetInterfaceAddressesOverride(std::function<std::vector<InterfaceAddress>()> provider) {
  Override() = std::move(provider);
}

std::vector<InterfaceAddress> InterfaceAddresses() {
  if (Override()) return Override()();
  std::vector<InterfaceAddress> out;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return out;
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    if (!(i->ifa_flags & IFF_UP)) continue;
    if (const std::optional<IpAddress> address = IpAddress::FromSockaddr(i->ifa_addr))
      out.push_back({QString::fromLocal8Bit(i->ifa_name), *address});
  }
  ::freeifaddrs(list);
  return out;
}

}  // namespace platform
