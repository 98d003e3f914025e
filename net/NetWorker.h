#pragma once
#include <functional>
#include <memory>
#include <mutex>

#include "net/Sockets.h"
#include "platform/Worker.h"

// What the listener and the receive threads share: a socket and the worker reading it, owned
// by one object of the main thread. Stopping never waits for the worker: the main thread shuts
// the socket's reading side down (which wakes a blocked recv, while what the connection's
// writer still has queued may go out) and stops the worker, whose hand-overs then do nothing.
// The socket is closed once, by whoever comes first: the main thread inside a procedure the
// worker handed over, or the worker as it ends.
class NetWorker {
 public:
  using Context = platform::Worker::Context;
  // The worker's body; it reaches its socket through the Socket() it is given.
  using Body = std::function<void(Context&, const std::function<sockets::Socket()>& socket)>;

  // Starts at once; on the main thread, which is where the body's hand-overs run.
  NetWorker(sockets::Socket socket, Body body);
  virtual ~NetWorker();  // Stop()
  NetWorker(const NetWorker&) = delete;
  NetWorker& operator=(const NetWorker&) = delete;

  void Stop() { worker_.Stop(); }
  bool Stopped() const { return worker_.Stopped(); }
  void CloseSocket();
  sockets::Socket Socket() const;

 private:
  // Shared with the body: it may outlive this object.
  struct Slot {
    explicit Slot(sockets::Socket s) : fd(s) {}
    mutable std::mutex mutex;
    sockets::Socket fd;
    void ShutdownReading();
    void Close();
    sockets::Socket Get() const;
  };
  std::shared_ptr<Slot> slot_;
  platform::Worker worker_;
};
