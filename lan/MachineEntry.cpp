#include "lan/MachineEntry.h"

std::optional<QString> MachineCaption(const platform::NetResource& entry) {
  if (!entry.remoteName || entry.remoteName->isEmpty()) return std::nullopt;
  if (entry.displayType != platform::kDisplayTypeServer) return std::nullopt;
  return entry.remoteName->mid(2);
}

bool OpensLevel(const platform::NetResource& entry) {
  return (entry.usage & platform::kResourceUsageContainer) != 0 &&
         entry.displayType != platform::kDisplayTypeServer;
}
