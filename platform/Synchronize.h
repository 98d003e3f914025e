#pragma once
#include <functional>

namespace platform {

// Runs fn on the main (window) thread and returns once it has run. Called on the main thread
// itself, it simply runs fn. Used by every worker thread to hand its work over.
void Synchronize(const std::function<void()>& fn);

// True when called on the thread that owns the application object.
bool OnMainThread();

}  // namespace platform
