#pragma once
#include <functional>

#include "net/NetRecord.h"
#include "net/NetWorker.h"

// The host's receive thread for one accepted connection: collects whole records and hands
// each to the main thread with the connection's client number.
class ServRcvThread : public NetWorker {
  Q_OBJECT

 public:
  struct Handlers {
    // HandleHostRecord: 0, or -1 when the record was dropped (a leave then does not end the
    // connection: it was not this member's own).
    std::function<int(TNetRecord&, int clientNumber)> record;
    std::function<void(int clientNumber)> remove;  // RemoveClient, after a leave
    std::function<void(int clientNumber)> lost;                 // the connection ended without one
    // Runs one handed-over batch of records; lets the host send what they cause in one go.
    std::function<void(const std::function<void()>&)> batch;
  };
  ServRcvThread(sockets::Socket socket, int clientNumber, Handlers handlers);

 protected:
  void Body() override;

 private:
  int number_;
  Handlers handlers_;
  TNetRecord buffer_;
};
