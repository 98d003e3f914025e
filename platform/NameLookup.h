#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "platform/IpAddress.h"

namespace platform {

// Looks a host name up, IPv4 and IPv6, without holding the window thread: the system's
// resolver works on threads of its own and the answer comes back to the window thread as a
// call of `answered`, with the addresses in the resolver's order of preference (none when the
// name is unknown). Destroying the look-up cancels it: `answered` is then never called, however
// long the resolver still takes. Made and destroyed on the window thread.
class NameLookup {
 public:
  using Answer = std::function<void(std::vector<IpAddress> addresses)>;
  // Who answers names in the system's place (tests): it is given the name and a way to answer,
  // which it may call at once, later on the window thread, or never.
  using Resolver = std::function<void(const QString& name, Answer answer)>;
  // resolver: empty for the system's.
  NameLookup(const QString& name, Answer answered, const Resolver& resolver = {});
  ~NameLookup();
  NameLookup(const NameLookup&) = delete;
  NameLookup& operator=(const NameLookup&) = delete;

  struct Pending;  // one request, shared with the resolver's notification

 private:
  std::shared_ptr<Pending> pending_;
  QObject context_;  // answers are delivered through it, so none arrives once it is gone
};

}  // namespace platform
