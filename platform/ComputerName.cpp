#include "platform/ComputerName.h"

#include <unistd.h>

#include "platform/OverridableAnswer.h"

namespace platform {
namespace {
QString hostName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return {};
  return QString::fromLocal8Bit(buf);
}

OverridableAnswer& answer() {
  static OverridableAnswer slot(hostName);
  return slot;
}
}  // namespace

void SetComputerNameOverride(std::function<QString()> provider) { answer().Override(std::move(provider)); }

QString ComputerName() { return answer()(); }

}  // namespace platform
