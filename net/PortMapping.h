#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/IpAddress.h"

namespace platform {
class Worker;
}

// Asks the home router to forward a hosted room's TCP port to this machine, off the window
// thread: UPnP IGD first, NAT-PMP for routers that speak only that. Finding the router and
// making the mapping give up after DiscoverMs. While the object lives the mapping is renewed;
// destroying it removes the mapping (on the worker, which the window thread does not wait for).
class PortMapping {
 public:
  struct Timing {
    int discoverMs = 3000;
    int leaseSeconds = 3600;
    int renewMs = 20 * 60 * 1000;  // well inside the lease
  };
  // On the window thread, once: the router's address on the internet and the port it forwards
  // there, or nothing when no router could be asked or none agreed.
  struct Mapped {
    platform::IpAddress external;
    std::uint16_t port = 0;
  };
  using Reported = std::function<void(std::optional<Mapped>)>;

  PortMapping(std::uint16_t port, Timing timing, Reported reported);
  ~PortMapping();
  PortMapping(const PortMapping&) = delete;
  PortMapping& operator=(const PortMapping&) = delete;

 private:
  std::unique_ptr<platform::Worker> worker_;
};
