#include "platform/ComputerName.h"

#include <unistd.h>

namespace platform {

QString ComputerName() {
  char buf[256] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return {};
  return QString::fromLocal8Bit(buf);
}

}  // namespace platform
