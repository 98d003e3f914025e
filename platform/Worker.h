#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QObject;
class MainThreadHandover;

namespace platform {

// A thread owned by one object on the window thread, for work that may block (connecting,
// talking to a router). The window thread never waits for it: Stop() only asks (a flag, the
// hand-over closed, a descriptor the body can poll made readable), and when the owner lets go
// of a body that is still running, the thread is joined once it has ended, never detached.
// The body reaches the window thread only through Hand(), which does nothing once stopped.
class Worker {
 public:
  // What the body sees. It outlives the Worker object while the body runs.
  class Context {
   public:
    ~Context();
    bool Stopped() const { return stopped_.load(); }
    bool Ended() const { return ended_.load(); }
    // Readable once the worker is stopped: poll it beside the body's own descriptors.
    int StopFd() const { return stopFd_; }
    // Runs fn on the window thread and waits for it; false, without running it, once stopped.
    bool Hand(const std::function<void()>& fn);
    // Waits up to ms; false when stopped first.
    bool Rest(int ms) const;

   private:
    friend class Worker;
    std::atomic<bool> stopped_{false};
    std::atomic<bool> ended_{false};
    int stopFd_ = -1;
    std::shared_ptr<MainThreadHandover> handover_;
  };
  using Body = std::function<void(Context&)>;

  // receiver: an object of the window thread that outlives this worker (its hand-overs run there).
  Worker(QObject* receiver, Body body);
  ~Worker();  // Stop(), then the thread is joined now if it has ended, or once it ends
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  void Stop();
  bool Ended() const { return context_->Ended(); }

 private:
  std::shared_ptr<Context> context_;
  std::thread thread_;
};

}  // namespace platform
