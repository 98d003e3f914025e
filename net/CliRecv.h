#pragma once
#include <functional>

#include "net/NetRecord.h"
#include "net/NetWorker.h"

// A member's receive thread: hands every record from the host to the main thread and, once
// the host is gone, one notice saying so.
class CliRcvThread : public NetWorker {
 public:
  struct Handlers {
    std::function<void(const TNetRecord&)> record;  // HandleRecord
    std::function<void()> lost;                     // after the notice has been handled
  };
  CliRcvThread(sockets::Socket socket, Handlers handlers);

  // The notice a member sees when its host is gone: No.99(Server):サーバーが切断されました
  static TNetRecord LossNotice();
  static constexpr std::size_t MaxBatch = 4096;  // records handed over at most in one call
};
