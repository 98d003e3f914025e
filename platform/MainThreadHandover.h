#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

// The one way a worker thread (network, engine, LAN) hands work to the window thread.
// Run() posts a procedure to the receiver's (main) thread and waits until it has run. The main
// thread can Close() the handover: no procedure runs after that, and a worker waiting in Run()
// is released at once, or, when its procedure is running at that moment (it may have closed
// the handover itself, from a nested event loop), as soon as the procedure returns, so that
// nothing of the worker's is still in use once it goes on. The owner therefore never waits
// for its worker, and the worker never waits for an event loop that has ended.
// Shared by the owner and the worker through std::shared_ptr, so it outlives both.
class MainThreadHandover : public std::enable_shared_from_this<MainThreadHandover> {
 public:
  // Made on the receiver's thread; receiver must live until Close() has been called.
  explicit MainThreadHandover(QObject* receiver);

  // Worker side: runs fn on the receiver's thread and waits for it. Answers false, without
  // running fn, when the handover is (or becomes) closed before fn starts. Called on the
  // receiver's thread itself, it runs fn directly.
  bool Run(const std::function<void()>& fn);

  // Receiver's thread: ends every further hand-over and releases a waiting worker.
  void Close();
  bool IsOpen() const;

 private:
  void Deliver(uint64_t ticket, const std::function<void()>& fn);

  QObject* const receiver_;
  const std::thread::id receiverThread_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool closed_ = false;
  bool delivering_ = false;
  uint64_t posted_ = 0;
  uint64_t done_ = 0;
};
