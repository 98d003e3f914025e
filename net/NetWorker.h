#pragma once
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

#include "net/Sockets.h"

class MainThreadHandover;

// What the listener and the receive threads share: a socket, a stop flag, and the one way to
// reach the main thread. Stopping never waits for the worker: the main thread shuts the socket's
// reading side down (which wakes a blocked recv, while what the connection's writer still has
// queued may go out) and sets the flag, and every procedure the worker
// hands over checks the flag first, on the main thread, so it does nothing once the owner has
// let go. The worker frees itself when it ends.
class NetWorker : public QThread {
  Q_OBJECT

 public:
  // Made on the main thread, which is where its hand-overs run.
  explicit NetWorker(sockets::Socket socket = sockets::InvalidSocket);
  ~NetWorker() override;

  // Starts the thread; counted as running from here until its body has ended.
  void Launch();

  // Main thread only. Reading shut down first, flag second: the worker closes its socket only after
  // it has seen the flag, so the socket is still open when it is shut down.
  void Stop();
  bool Stopped() const { return stop_.load(); }

  // Closes the socket once, whoever comes first: the main thread inside a procedure this worker
  // handed over (the worker is waiting then), or the worker as it ends.
  void CloseSocket();
  sockets::Socket Socket() const { return fd_.load(); }

  // How many workers have been launched and not yet ended.
  static int Running();

 protected:
  // Runs fn on the main thread and waits for it, unless the worker has been stopped.
  void Hand(const std::function<void()>& fn);
  virtual void Body() = 0;

 private:
  void run() final;

  std::atomic<bool> stop_{false};
  std::atomic<sockets::Socket> fd_;
  std::shared_ptr<MainThreadHandover> handover_;
};
