#pragma once
#include <functional>

#include "net/NetWorker.h"

// The host's listener: accepts connections on a socket that is already listening, for as long
// as the room lives, and hands each to the main thread.
class TSockThread : public NetWorker {
 public:
  // addClient runs on the main thread with an accepted socket and answers whether it took it;
  // a socket it does not take is closed here.
  using AddClientFn = std::function<bool(sockets::Socket)>;
  TSockThread(sockets::Socket listening, AddClientFn addClient);

  static constexpr int Backlog = 256;
  static constexpr int PollMs = 50;
};
