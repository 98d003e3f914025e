#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "net/NetRecord.h"
#include "net/NetWorker.h"

// How far the room is behind on one member's records. The main thread holds a record for
// each one of that member's it is still to handle for the host's own user and releases it once
// handled; the member's receive thread reads no further while the limit is reached, so TCP
// holds back a member that sends faster than the room can take.
class ReadGate {
 public:
  explicit ReadGate(int limit) : limit_(limit) {}
  void Hold(int records);
  void Release(int records);
  // Receive thread: returns once under the limit, or when stopped() (looked at now and then).
  void WaitOpen(const std::function<bool()>& stopped);

 private:
  const int limit_;
  std::atomic<int> held_{0};
  std::atomic<bool> waiting_{false};  // the receive thread waits: a release must wake it
  std::mutex mutex_;
  std::condition_variable opened_;
};

// The host's receive thread for one accepted connection: collects whole records and hands
// each to the main thread with the connection's client number.
class ServRcvThread : public NetWorker {
 public:
  struct Handlers {
    // HandleHostRecord: 0, or -1 when the record was dropped (a leave then does not end the
    // connection: it was not this member's own).
    std::function<int(TNetRecord&, int clientNumber)> record;
    std::function<void(int clientNumber)> remove;  // RemoveClient, after a leave
    std::function<void(int clientNumber)> lost;    // the connection ended without one
    // Runs one handed-over batch of records; lets the host send what they cause in one go.
    std::function<void(const std::function<void()>&)> batch;
  };
  ServRcvThread(sockets::Socket socket, int clientNumber, std::shared_ptr<ReadGate> gate, Handlers handlers);
};
