#pragma once
#include <QString>

#include <functional>
#include <vector>

#include "platform/IpAddress.h"

namespace platform {

// The addresses of this machine's network interfaces that are up, loopback ones included, in
// the order the system lists them.
struct InterfaceAddress {
  QString interfaceName;
  IpAddress address;
};
std::vector<InterfaceAddress> InterfaceAddresses();

}  // namespace platform
