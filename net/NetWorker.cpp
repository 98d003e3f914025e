#include "net/NetWorker.h"

void NetWorker::Slot::ShutdownReading() {
  std::lock_guard lock(mutex);
  if (fd != sockets::InvalidSocket) sockets::ShutdownReading(fd);
}

void NetWorker::Slot::Close() {
  // Under the lock: a shutdown never reaches a descriptor number the system has given again.
  std::lock_guard lock(mutex);
  if (fd != sockets::InvalidSocket) sockets::Close(fd);
  fd = sockets::InvalidSocket;
}

sockets::Socket NetWorker::Slot::Get() const {
  std::lock_guard lock(mutex);
  return fd;
}

NetWorker::NetWorker(sockets::Socket socket, Body body)
    : slot_(std::make_shared<Slot>(socket)),
      worker_(
          [slot = slot_, body = std::move(body)](Context& context) {
            body(context, [&slot] { return slot->Get(); });
            slot->Close();
          },
          [slot = slot_] { slot->ShutdownReading(); }) {}

NetWorker::~NetWorker() = default;

void NetWorker::CloseSocket() { slot_->Close(); }

sockets::Socket NetWorker::Socket() const { return slot_->Get(); }
