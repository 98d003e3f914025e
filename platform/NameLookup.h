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
  NameLookup(const QString& name, Answer answered);
  ~NameLookup();
  NameLookup(const NameLookup&) = delete;
  NameLookup& operator=(const NameLookup&) = delete;

  // Tests answer names themselves: the resolver is given the name and a way to answer, which
  // it may call at once, later on the window thread, or never. An empty one restores the system's.
  using Resolver = std::function<void(const QString& name, Answer answer)>;
  static void SetResolverOverride(Resolver resolver);

  struct Pending;  // one request, shared with the resolver's notification

 private:
  std::shared_ptr<Pending> pending_;
  QObject context_;  // answers are delivered through it, so none arrives once it is gone
};

}  // namespace platform
