#include "platform/ComputerName.h"

#include <unistd.h>

namespace platform {
namespace {
std::function<QString()>& overrideSlot() {
  static std::function<QString()> slot;
  return slot;
}
}  // namespace

void SetComputerNameOverride(std::function<QString()> provider) { overrideSlot() = std::move(provider); }

QString ComputerName() {
  if (overrideSlot()) return overrideSlot()();
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return {};
  return QString::fromLocal8Bit(buf);
}

}  // namespace platform
