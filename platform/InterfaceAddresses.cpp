#include "platform/InterfaceAddresses.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace platform {
std::vector<InterfaceAddress> InterfaceAddresses() {
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
