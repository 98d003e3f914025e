#include "net/NetWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "platform/Synchronize.h"

namespace {
std::atomic<int> running{0};
}

NetWorker::NetWorker(sockets::Socket socket) : fd_(socket) {
  connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void NetWorker::Launch() {
  ++running;
  start();
}

void NetWorker::Stop() {
  const sockets::Socket s = fd_.load();
  if (s != sockets::InvalidSocket) sockets::Shutdown(s);
  stop_.store(true);
}

void NetWorker::CloseSocket() {
  const sockets::Socket s = fd_.exchange(sockets::InvalidSocket);
  if (s != sockets::InvalidSocket) sockets::Close(s);
}

int NetWorker::Running() { return running.load(); }

bool NetWorker::WaitForAll(int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (running.load() > 0 && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return running.load() == 0;
}

void NetWorker::Hand(const std::function<void()>& fn) {
  // Without an application there is no main thread left to hand anything to.
  if (Stopped() || !QCoreApplication::instance()) return;
  platform::Synchronize([this, &fn] {
    if (!Stopped()) fn();
  });
}

void NetWorker::run() {
  Body();
  CloseSocket();
  --running;
}
