#include "platform/AvahiNeighbourhood.h"

namespace platform {

AvahiNeighbourhood::AvahiNeighbourhood(std::chrono::milliseconds browseTime) : browseTime_(browseTime) {}

std::unique_ptr<NetEnumeration> AvahiNeighbourhood::Open(uint32_t, uint32_t, uint32_t, const NetResource*) {
  return nullptr;
}

}  // namespace platform
