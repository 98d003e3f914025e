#include "net/CliRecv.h"

CliRcvThread::CliRcvThread(sockets::Socket socket, Handlers handlers)
    : NetWorker(socket), handlers_(std::move(handlers)) {}

TNetRecord CliRcvThread::LossNotice() {
  TNetRecord r;
  r.SetKind(mkChat);
  r.SetNumber(99);
  r.SetName(QStringLiteral("Server"));
  r.SetText(QStringLiteral("サーバーが切断されました"));
  return r;
}

void CliRcvThread::Body() {
  while (!Stopped()) {
    buffer_.Clear();
    if (sockets::ReceiveRecord(Socket(), buffer_.data()) != 0) break;
    Hand([this] { handlers_.record(buffer_); });
  }
  buffer_ = LossNotice();
  Hand([this] {
    handlers_.record(buffer_);
    if (!Stopped()) handlers_.lost();
  });
}
