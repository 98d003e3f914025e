#include "platform/OpenFilesLimit.h"

#include <sys/resource.h>

#include <limits>

namespace platform {

long RaiseOpenFilesLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return -1;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  return limit.rlim_cur == RLIM_INFINITY ? std::numeric_limits<long>::max() : static_cast<long>(limit.rlim_cur);
}

}  // namespace platform
