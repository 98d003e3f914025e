#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "net/Sockets.h"

namespace platform {
class Worker;
}

// Connects to the first of several addresses that answers, off the window thread: the tries
// start one after another, the next 250 ms after the last or at once when the last has failed,
// without waiting for the earlier ones to give up, IPv6 and IPv4 taking turns; the first that
// connects wins and the others are dropped. The whole attempt gives up after 5 s. Destroying
// the connector cancels the attempt at once; `done` is then never called.
class Connector {
 public:
  struct Result {
    sockets::Socket socket = sockets::InvalidSocket;  // connected, blocking; the caller's to own
    sockets::IpAddress address;                        // the address it reached
  };
  // Called on the window thread, once: a socket, or InvalidSocket when nothing answered.
  using Done = std::function<void(Result)>;

  static constexpr int StaggerMs = 250;
  static constexpr int LimitMs = 5000;

  Connector(std::vector<sockets::IpAddress> addresses, std::uint16_t port, Done done);
  ~Connector();
  Connector(const Connector&) = delete;
  Connector& operator=(const Connector&) = delete;

  // The order of the tries: the families alternate, starting with the family of the first
  // address; within a family the given order stays.
  static std::vector<sockets::IpAddress> Interleaved(const std::vector<sockets::IpAddress>& addresses);

 private:
  std::unique_ptr<platform::Worker> worker_;
};
