#include "net/ServRecv.h"

ServRcvThread::ServRcvThread(sockets::Socket socket, int clientNumber, Handlers handlers)
    : NetWorker(socket), number_(clientNumber), handlers_(std::move(handlers)) {}

void ServRcvThread::Body() {
  while (!Stopped()) {
    buffer_.Clear();
    if (sockets::ReceiveRecord(Socket(), buffer_.data()) != 0) break;
    if (buffer_.Kind() != mkLeave) {
      Hand([this] { handlers_.record(buffer_, number_); });
      continue;
    }
    buffer_.SetTextBytes(LeaveNoticeText(buffer_.NameBytes()));
    Hand([this] {
      handlers_.record(buffer_, number_);
      if (!Stopped()) handlers_.remove(number_);
    });
    return;
  }
  Hand([this] { handlers_.lost(number_); });
}
