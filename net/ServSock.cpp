#include "net/ServSock.h"

TSockThread::TSockThread(sockets::Socket listening, AddClientFn addClient)
    : NetWorker(listening, [addClient = std::move(addClient)](Context& context, const auto& socket) {
        // The listening socket is this thread's alone; it looks at the stop flag between short
        // waits instead of being woken, so nobody else ever touches its descriptor.
        while (!context.Stopped()) {
          const int readable = sockets::WaitReadable(socket(), PollMs);
          if (readable == 0) continue;
          const sockets::Socket accepted = readable > 0 ? sockets::Accept(socket()) : sockets::InvalidSocket;
          if (accepted == sockets::InvalidSocket) {
            // A passing failure (out of descriptors, an aborted handshake): the room goes on.
            context.Rest(PollMs);
            continue;
          }
          bool taken = false;
          context.Hand([&] { taken = addClient(accepted); });
          if (!taken) sockets::Close(accepted);
        }
      }) {}
