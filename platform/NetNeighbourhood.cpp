#include "platform/NetNeighbourhood.h"

#include "platform/AvahiNeighbourhood.h"

namespace platform {
namespace {
NetNeighbourhoodFactory& overrideSlot() {
  static NetNeighbourhoodFactory factory;
  return factory;
}
}  // namespace

std::shared_ptr<NetNeighbourhood> DefaultNetNeighbourhood() {
  if (overrideSlot()) return overrideSlot()();
  return std::make_shared<AvahiNeighbourhood>();
}

void SetNetNeighbourhoodOverride(NetNeighbourhoodFactory factory) { overrideSlot() = std::move(factory); }

}  // namespace platform
