#include "net/NetWorker.h"

#include "platform/MainThreadHandover.h"

namespace {
std::atomic<int> running{0};
}

NetWorker::NetWorker(sockets::Socket socket)
    : fd_(socket), handover_(std::make_shared<MainThreadHandover>(this)) {
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

NetWorker::~NetWorker() { handover_->Close(); }

void NetWorker::Launch() {
  ++running;
  start();
}

void NetWorker::Stop() {
  const sockets::Socket s = fd_.load();
  if (s != sockets::InvalidSocket) sockets::ShutdownReading(s);
  stop_.store(true);
  handover_->Close();
}

void NetWorker::CloseSocket() {
  const sockets::Socket s = fd_.exchange(sockets::InvalidSocket);
  if (s != sockets::InvalidSocket) sockets::Close(s);
}

int NetWorker::Running() { return running.load(); }

void NetWorker::Hand(const std::function<void()>& fn) {
  if (Stopped()) return;
  handover_->Run([this, &fn] {
    if (!Stopped()) fn();
  });
}

void NetWorker::run() {
  Body();
  CloseSocket();
  --running;
}
