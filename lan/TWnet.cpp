#include "lan/TWnet.h"

#include <vector>

#include "lan/MachineEntry.h"

TWNet::TWNet(std::shared_ptr<platform::NetNeighbourhood> source, AddItemProc addItem)
    : source_(std::move(source)), addItem_(std::move(addItem)) {}

void TWNet::Execute(platform::Worker::Context& context) {
  try {
    EnumResources(nullptr, context);
  } catch (...) {
    // A failing source ends the walk like any other error: quietly, with what was found.
  }
}

bool TWNet::EnumResources(const platform::NetResource* parent, platform::Worker::Context& context) {
  // The open's result is not examined apart from this: no level, nothing to list.
  const std::unique_ptr<platform::NetEnumeration> level = source_->Open(
      platform::kResourceScopeGlobalNet, platform::kResourceTypeAny, platform::kResourceUsageAll, parent);
  if (!level) return !context.Stopped();
  std::vector<platform::NetResource> buffer;
  buffer.reserve(platform::kEnumMaxEntries);
  for (;;) {
    // No more items, or any other error, ends this level quietly.
    if (level->Next(buffer, platform::kEnumMaxEntries) != platform::kEnumOk) break;
    const std::size_t count = std::min(buffer.size(), platform::kEnumMaxEntries);
    for (std::size_t i = 0; i < count; ++i) {
      const platform::NetResource& entry = buffer[i];
      if (entry.HasAnyName()) {
        FNetResource = entry;
        if (!context.Hand([this] { AddMachine(); })) return false;
      }
      if (OpensLevel(entry) && !EnumResources(&entry, context)) return false;
    }
  }
  return !context.Stopped();
}

void TWNet::AddMachine() {
  // No duplicate check: a machine reached twice is listed twice.
  if (const auto caption = MachineCaption(FNetResource)) addItem_(*caption, 0);
}
