#include "net/CliRecv.h"

CliRcvThread::CliRcvThread(sockets::Socket socket, Handlers handlers)
    : NetWorker(socket), handlers_(std::move(handlers)) {}

TNetRecord CliRcvThread::LossNotice() { return ServerNotice(QStringLiteral("サーバーが切断されました")); }

void CliRcvThread::Body() {
  // Takes everything that has arrived in one go: on the host this connection is fed by every
  // other member, and must not fall behind them.
  sockets::RecordReader reader(MaxBatch);
  std::vector<std::uint8_t> batch;
  while (!Stopped()) {
    if (reader.Next(Socket(), batch) != 0) break;
    // Every record that has arrived goes over in one call, each handled in order; a handler
    // may let the window close the room in between, so the flag is looked at each time.
    Hand([&] {
      for (std::size_t at = 0; at < batch.size() && !Stopped(); at += TNetRecord::Size) {
        buffer_ = TNetRecord::FromBytes(batch.data() + at);
        handlers_.record(buffer_);
      }
    });
  }
  buffer_ = LossNotice();
  Hand([this] {
    handlers_.record(buffer_);
    if (!Stopped()) handlers_.lost();
  });
}
