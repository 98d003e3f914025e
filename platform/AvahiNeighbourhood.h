#pragma once
#include <chrono>

#include "platform/NetNeighbourhood.h"

namespace platform {

// The machines that announce themselves by DNS-SD (mDNS), read through the Avahi daemon:
// one provider, inside it the "local" domain, inside that one server per machine ("\\host.local").
// Without a daemon nothing can be opened, so a walk ends at once with nothing found.
class AvahiNeighbourhood : public NetNeighbourhood {
 public:
  // browseTime bounds the wait for the network's answers when the domain is opened.
  explicit AvahiNeighbourhood(std::chrono::milliseconds browseTime = std::chrono::seconds(3));
  std::unique_ptr<NetEnumeration> Open(uint32_t scope, uint32_t type, uint32_t usage,
                                       const NetResource* parent) override;

 private:
  std::chrono::milliseconds browseTime_;
};

}  // namespace platform
