#include "net/ServSock.h"

TSockThread::TSockThread(sockets::Socket listening, AddClientFn addClient)
    : NetWorker(listening), addClient_(std::move(addClient)) {}

void TSockThread::Body() {
  // The listening socket is this thread's alone; it looks at the stop flag between short
  // waits instead of being woken, so nobody else ever touches its descriptor.
  while (!Stopped()) {
    const int readable = sockets::WaitReadable(Socket(), PollMs);
    if (readable == 0) continue;
    const sockets::Socket accepted = readable > 0 ? sockets::Accept(Socket()) : sockets::InvalidSocket;
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
