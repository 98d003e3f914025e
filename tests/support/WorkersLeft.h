#pragma once
#include <chrono>
#include <cstdio>

#include "platform/Worker.h"

// Every worker a test started has been stopped by its owner by now; none may outlive the
// application that joins it. Answers whether one did, and says so.
inline bool WorkersLeft() {
  if (platform::Worker::WaitAllEnded(std::chrono::seconds(30))) return false;
  std::fprintf(stderr, "%d worker thread(s) still running after the last test\n", platform::Worker::Running());
  return true;
}
