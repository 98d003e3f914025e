#pragma once
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "net/NetWorker.h"

// What the host's start-up waits for: the listener is listening (or has failed), and the
// address it is bound to. Shared, so it outlives a listener that has already freed itself.
struct ListenerState {
  std::atomic<bool> ready{false};
  std::atomic<bool> failed{false};
  QString address;  // written before ready is set
};

// The host's listener: binds to the one address the host name resolves to, then accepts
// connections for as long as the room lives and hands each to the main thread.
class TSockThread : public NetWorker {
  Q_OBJECT

 public:
  // addClient runs on the main thread with an accepted socket and answers whether it took it;
  // a socket it does not take is closed here.
  using AddClientFn = std::function<bool(sockets::Socket)>;
  TSockThread(const QString& hostName, std::uint16_t port, std::shared_ptr<ListenerState> state,
              AddClientFn addClient);

  static constexpr int Backlog = 256;
  static constexpr int PollMs = 50;

 protected:
  void Body() override;

 private:
  void Serve();
  void Fail();

  QString hostName_;
  std::uint16_t port_;
  std::shared_ptr<ListenerState> state_;
  AddClientFn addClient_;
  sockets::Socket listener_ = sockets::InvalidSocket;
};
