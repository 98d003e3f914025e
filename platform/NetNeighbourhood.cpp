#include "platform/NetNeighbourhood.h"

#include "platform/AvahiNeighbourhood.h"

namespace platform {

std::shared_ptr<NetNeighbourhood> DefaultNetNeighbourhood() { return std::make_shared<AvahiNeighbourhood>(); }

}  // namespace platform
