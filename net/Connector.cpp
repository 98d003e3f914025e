#include "net/Connector.h"

#include <poll.h>

#include <chrono>

#include "platform/Worker.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Try {
  sockets::Socket socket;
  sockets::IpAddress address;
};

// The body of the attempt, on the worker's thread.
Connector::Result Attempt(const std::vector<sockets::IpAddress>& order, std::uint16_t port,
                          const platform::Worker::Context& context) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(Connector::LimitMs);
  std::vector<Try> open;
  std::size_t next = 0;
  auto nextStart = Clock::now();
  auto drop = [&](std::size_t i) {
    sockets::Close(open[i].socket);
    open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
  };
  auto dropAll = [&] {
    while (!open.empty()) drop(0);
  };
  for (;;) {
    const auto now = Clock::now();
    if (context.Stopped() || now >= deadline) break;
    // The next try starts when its time has come, or at once when nothing is under way.
    if (next < order.size() && (now >= nextStart || open.empty())) {
      const sockets::IpAddress& address = order[next++];
      nextStart = now + std::chrono::milliseconds(Connector::StaggerMs);
      const sockets::Socket s = sockets::OpenTcp(address.family());
      if (s == sockets::InvalidSocket) continue;
      const int started = sockets::StartConnect(s, address, port);
      if (started == 0) {
        dropAll();
        return {s, address};
      }
      if (started < 0) {
        sockets::Close(s);
        nextStart = now;  // failed at once: the next one need not wait
        continue;
      }
      open.push_back({s, address});
      continue;
    }
    if (open.empty()) break;  // every address has failed
    std::vector<pollfd> fds;
    fds.push_back({context.StopFd(), POLLIN, 0});
    for (const Try& t : open) fds.push_back({t.socket, POLLOUT, 0});
    auto until = deadline;
    if (next < order.size()) until = std::min(until, nextStart);
    const auto waitMs = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count() + 1;
    ::poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(waitMs, 0)));
    for (std::size_t i = open.size(); i-- > 0;) {
      const short events = fds[i + 1].revents;
      if (events == 0) continue;
      if (sockets::ConnectError(open[i].socket) != 0) {
        drop(i);
        nextStart = Clock::now();
        continue;
      }
      const Try won = open[i];
      open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
      dropAll();
      return {won.socket, won.address};
    }
  }
  dropAll();
  return {};
}

}  // namespace

std::vector<sockets::IpAddress> Connector::Interleaved(const std::vector<sockets::IpAddress>& addresses) {
  if (addresses.empty()) return {};
  const auto first = addresses.front().family();
  std::vector<sockets::IpAddress> same, other, out;
  for (const sockets::IpAddress& a : addresses) (a.family() == first ? same : other).push_back(a);
  for (std::size_t i = 0; i < std::max(same.size(), other.size()); ++i) {
    if (i < same.size()) out.push_back(same[i]);
    if (i < other.size()) out.push_back(other[i]);
  }
  return out;
}

Connector::Connector(std::vector<sockets::IpAddress> addresses, std::uint16_t port, Done done) {
  worker_ = std::make_unique<platform::Worker>(
      [order = Interleaved(addresses), port, done = std::move(done)](platform::Worker::Context& context) {
        Result result = Attempt(order, port, context);
        if (result.socket != sockets::InvalidSocket) sockets::FinishConnect(result.socket);
        bool taken = false;
        context.Hand([&] {
          taken = true;
          done(result);
        });
        // Cancelled meanwhile: the connection is nobody's.
        if (!taken && result.socket != sockets::InvalidSocket) sockets::Close(result.socket);
      });
}

Connector::~Connector() { worker_.reset(); }
