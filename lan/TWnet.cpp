#include "lan/TWnet.h"

#include <thread>
#include <vector>

#include "lan/MachineEntry.h"
#include "platform/MainThreadHandover.h"

TWNet::TWNet(std::shared_ptr<platform::NetNeighbourhood> source,
             std::shared_ptr<MainThreadHandover> handover, AddItemProc addItem)
    : source_(std::move(source)), handover_(std::move(handover)), addItem_(std::move(addItem)) {}

void TWNet::Start(std::unique_ptr<TWNet> walk) {
  // Detached: the program's exit never waits for a walk that may sit in a slow network call.
  std::thread([walk = std::move(walk)] { walk->Execute(); }).detach();
}

void TWNet::Execute() {
  try {
    EnumResources(nullptr);
  } catch (...) {
    // A failing source ends the walk like any other error: quietly, with what was found.
  }
}

bool TWNet::EnumResources(const platform::NetResource* parent) {
  // The open's result is not examined apart from this: no level, nothing to list.
  const std::unique_ptr<platform::NetEnumeration> level = source_->Open(
      platform::kResourceScopeGlobalNet, platform::kResourceTypeAny, platform::kResourceUsageAll, parent);
  if (!level) return handover_->IsOpen();
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
        if (!handover_->Run([this] { AddMachine(); })) return false;
      }
      if (OpensLevel(entry) && !EnumResources(&entry)) return false;
    }
  }
  return handover_->IsOpen();
}

void TWNet::AddMachine() {
  // No duplicate check: a machine reached twice is listed twice.
  if (const auto caption = MachineCaption(FNetResource)) addItem_(*caption, 0);
}
