#pragma once
#include "lan/TWnet.h"
#include "platform/Worker.h"
#include "tests/support/Wait.h"

// Runs a walk to its end on a worker, as the window runs it; answers whether it ended in time.
inline bool RunWalk(TWNet& walk, int limitMs = 60000) {
  platform::Worker worker([&walk](platform::Worker::Context& context) { walk.Execute(context); });
  return WaitUntil([&] { return worker.Ended(); }, limitMs);
}
