#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class MainThreadHandover;

namespace platform {

// The one way to run work off the window thread (engine calls, the network's threads, the
// LAN walk): a thread owned by one object of the window thread, for as long as that object
// wants it. The window thread never waits for it. Stop() only asks: a flag, the hand-over
// closed (a body waiting in Hand() is released), a descriptor the body can poll made readable,
// and the owner's own wake (a socket shut down, an engine runner killed). When the owner lets
// go of a body that is still running, the thread is joined on the window thread once the body
// has returned; nothing deletes itself, nothing is detached, and nothing keeps a list of
// threads. Needs a QCoreApplication: results and the final join go through its event loop.
class Worker {
 public:
  // What the body sees. It outlives the Worker object while the body runs.
  class Context : public std::enable_shared_from_this<Context> {
   public:
    ~Context();
    bool Stopped() const { return stopped_.load(); }
    // Readable once the worker is stopped: poll it beside the body's own descriptors. -1 when
    // the system had no descriptor to spare: the body then sees the stop at its next wake-up.
    int StopFd() const { return stopFd_; }
    // Runs fn on the window thread and waits for it; false, without running it, once stopped.
    bool Hand(const std::function<void()>& fn);
    // Waits up to ms; false when stopped first.
    bool Rest(int ms);

   private:
    friend class Worker;
    static void Finish(std::shared_ptr<Context> self);
    void Join();

    std::atomic<bool> stopped_{false};
    int stopFd_ = -1;
    std::shared_ptr<MainThreadHandover> handover_;
    std::mutex mutex_;
    std::condition_variable stopping_;
    bool ended_ = false;     // the body has returned
    bool released_ = false;  // the owner has let go
    std::thread thread_;
  };
  using Body = std::function<void(Context&)>;

  // Starts body on a thread of its own; on the window thread. wake runs there on Stop(), for a
  // body blocked where the stop descriptor does not reach.
  explicit Worker(Body body, std::function<void()> wake = {});
  ~Worker();  // Stop(), then the thread is joined now if it has ended, or once it ends
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  void Stop();
  bool Stopped() const { return context_->Stopped(); }
  bool Ended() const;

  // Workers whose bodies have not returned yet, the whole program's.
  static int Running();
  // Waits up to limit for every body to return; whether they all have.
  static bool WaitAllEnded(std::chrono::milliseconds limit);
  // The program's end, once its owners have let go (everything saved): waits up to limit for
  // the stopped workers, and answers result. A worker still running then (a router that never
  // answers) must neither keep the program nor be cut loose: the process ends at once with it.
  static int EndProgram(int result, std::chrono::milliseconds limit);

 private:
  std::shared_ptr<Context> context_;
  std::function<void()> wake_;
};

}  // namespace platform
