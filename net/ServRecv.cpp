#include "net/ServRecv.h"

ServRcvThread::ServRcvThread(sockets::Socket socket, int clientNumber, Handlers handlers)
    : NetWorker(socket), number_(clientNumber), handlers_(std::move(handlers)) {}

void ServRcvThread::Body() {
  sockets::RecordReader reader;
  std::vector<std::uint8_t> batch;
  bool left = false;
  while (!Stopped() && !left) {
    if (reader.Next(Socket(), batch) != 0) break;
    // Every record that has arrived goes over in one call, each handled in order.
    Hand([&] { handlers_.batch([&] {
      for (std::size_t at = 0; at < batch.size() && !Stopped(); at += TNetRecord::Size) {
        buffer_ = TNetRecord::FromBytes(batch.data() + at);
        if (buffer_.Kind() != mkLeave) {
          handlers_.record(buffer_, number_);
          continue;
        }
        buffer_.SetTextBytes(LeaveNoticeText(buffer_.NameBytes()));
        if (handlers_.record(buffer_, number_) != 0) continue;  // not its own leave
        if (!Stopped()) handlers_.remove(number_);
        left = true;  // whatever followed the leave is not read
        return;
      }
    }); });
  }
  if (!left) Hand([this] { handlers_.lost(number_); });
}
