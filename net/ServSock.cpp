#include "net/ServSock.h"

TSockThread::TSockThread(const QString& hostName, std::uint16_t port, std::shared_ptr<ListenerState> state,
                         AddClientFn addClient)
    : hostName_(hostName.left(255)), port_(port), state_(std::move(state)), addClient_(std::move(addClient)) {}

void TSockThread::Fail() {
  state_->failed.store(true);
  state_->ready.store(true);
}

void TSockThread::Body() {
  Serve();
  if (listener_ != sockets::InvalidSocket) sockets::Close(listener_);
  listener_ = sockets::InvalidSocket;
}

void TSockThread::Serve() {
  std::uint32_t address = 0;
  if (sockets::Resolve(hostName_, address) != 0) return Fail();
  listener_ = sockets::OpenTcp();
  if (listener_ == sockets::InvalidSocket) return Fail();
  if (Stopped() || sockets::Bind(listener_, address, port_) != 0) return Fail();
  state_->address = sockets::AddressText(address);
  if (sockets::Listen(listener_, Backlog) != 0) return Fail();

  // The listening socket is this thread's alone; it looks at the stop flag between short
  // waits instead of being woken, so nobody else ever touches its descriptor.
  while (!Stopped()) {
    state_->ready.store(true);
    const int readable = sockets::WaitReadable(listener_, PollMs);
    if (readable == 0) continue;
    const sockets::Socket accepted = readable > 0 ? sockets::Accept(listener_) : sockets::InvalidSocket;
    if (accepted == sockets::InvalidSocket) {
      // A passing failure (out of descriptors, an aborted handshake): the room goes on.
      msleep(PollMs);
      continue;
    }
    bool taken = false;
    Hand([&] { taken = addClient_(accepted); });
    if (!taken) sockets::Close(accepted);
  }
}
