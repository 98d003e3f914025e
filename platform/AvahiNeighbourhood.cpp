#include "platform/AvahiNeighbourhood.h"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>

#include <set>
#include <string>

namespace platform {
namespace {

const QString kProviderName = QStringLiteral("DNS-SD");
const QString kDomainName = QStringLiteral("local");

// Service types that machines commonly announce; a machine seen through several counts once.
constexpr const char* kServiceTypes[] = {
    "_workstation._tcp", "_ssh._tcp", "_sftp-ssh._tcp", "_smb._tcp",
    "_afpovertcp._tcp",  "_rfb._tcp", "_http._tcp",
};

// A level whose entries are known when it is opened.
class ListEnumeration : public NetEnumeration {
 public:
  explicit ListEnumeration(std::vector<NetResource> entries) : entries_(std::move(entries)) {}
  int Next(std::vector<NetResource>& buffer, std::size_t maxEntries) override {
    buffer.clear();
    if (next_ >= entries_.size()) return kErrorNoMoreItems;
    const std::size_t count = std::min(entries_.size() - next_, maxEntries);
    buffer.assign(entries_.begin() + static_cast<std::ptrdiff_t>(next_),
                  entries_.begin() + static_cast<std::ptrdiff_t>(next_ + count));
    next_ += count;
    return kEnumOk;
  }

 private:
  std::vector<NetResource> entries_;
  std::size_t next_ = 0;
};

// One connection to the daemon with its own poll loop, used on the calling thread only.
class Connection {
 public:
  Connection() {
    poll_ = avahi_simple_poll_new();
    if (!poll_) return;
    int error = 0;
    // Without AVAHI_CLIENT_NO_FAIL a missing daemon fails here at once instead of being waited for.
    client_ = avahi_client_new(avahi_simple_poll_get(poll_), AvahiClientFlags(0), &Connection::OnState,
                               this, &error);
  }
  ~Connection() {
    if (client_) avahi_client_free(client_);  // frees its browsers and resolvers too
    if (poll_) avahi_simple_poll_free(poll_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Usable() const { return client_ && !failed_ && avahi_client_get_state(client_) != AVAHI_CLIENT_FAILURE; }

  // The host names of the machines announcing any of kServiceTypes, in the order found.
  // Waits until every browser has said it has all for now and every lookup has answered,
  // but never longer than limit.
  std::vector<QString> BrowseHosts(std::chrono::milliseconds limit) {
    for (const char* type : kServiceTypes) {
      if (AvahiServiceBrowser* browser =
              avahi_service_browser_new(client_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, type, "local",
                                        AvahiLookupFlags(0), &Connection::OnBrowse, this))
        browsing_.insert(browser);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!failed_ && (!browsing_.empty() || resolving_ > 0)) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      if (avahi_simple_poll_iterate(poll_, static_cast<int>(left.count())) != 0) break;
    }
    return hosts_;
  }

 private:
  static void OnState(AvahiClient*, AvahiClientState state, void* self) {
    if (state == AVAHI_CLIENT_FAILURE) static_cast<Connection*>(self)->failed_ = true;
  }

  static void OnBrowse(AvahiServiceBrowser* browser, AvahiIfIndex interface, AvahiProtocol protocol,
                       AvahiBrowserEvent event, const char* name, const char* type,
                       const char* domain, AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<Connection*>(data);
    switch (event) {
      case AVAHI_BROWSER_NEW:
        // Only the host name is wanted, not its addresses.
        if (avahi_service_resolver_new(self->client_, interface, protocol, name, type, domain,
                                       AVAHI_PROTO_UNSPEC, AVAHI_LOOKUP_NO_ADDRESS,
                                       &Connection::OnResolve, self))
          ++self->resolving_;
        break;
      case AVAHI_BROWSER_ALL_FOR_NOW:
      case AVAHI_BROWSER_FAILURE:
        // Later news from this browser is not waited for.
        self->browsing_.erase(browser);
        break;
      default:
        break;
    }
  }

  static void OnResolve(AvahiServiceResolver* resolver, AvahiIfIndex, AvahiProtocol,
                        AvahiResolverEvent event, const char*, const char*, const char*,
                        const char* hostName, const AvahiAddress*, uint16_t, AvahiStringList*,
                        AvahiLookupResultFlags, void* data) {
    auto* self = static_cast<Connection*>(data);
    if (event == AVAHI_RESOLVER_FOUND && hostName && *hostName) {
      const QString host = QString::fromUtf8(hostName);
      if (self->seen_.insert(host).second) self->hosts_.push_back(host);
    }
    --self->resolving_;
    avahi_service_resolver_free(resolver);
  }

  AvahiSimplePoll* poll_ = nullptr;
  AvahiClient* client_ = nullptr;
  bool failed_ = false;
  std::set<AvahiServiceBrowser*> browsing_;  // those that have not yet said "all for now"
  int resolving_ = 0;
  std::set<QString> seen_;
  std::vector<QString> hosts_;
};

bool IsProvider(const NetResource& entry) {
  return entry.displayType == kDisplayTypeNetwork && entry.remoteName == kProviderName;
}

bool IsDomain(const NetResource& entry) {
  return entry.displayType == kDisplayTypeDomain && entry.remoteName == kDomainName;
}

}  // namespace

AvahiNeighbourhood::AvahiNeighbourhood(std::chrono::milliseconds browseTime) : browseTime_(browseTime) {}

std::unique_ptr<NetEnumeration> AvahiNeighbourhood::Open(uint32_t, uint32_t, uint32_t,
                                                         const NetResource* parent) {
  if (!parent) {
    // The provider is offered only when a daemon answers, so without one the walk ends here.
    if (!Connection().Usable()) return nullptr;
    return std::make_unique<ListEnumeration>(
        std::vector<NetResource>{ProviderEntry(kProviderName)});
  }
  if (IsProvider(*parent))
    return std::make_unique<ListEnumeration>(
        std::vector<NetResource>{DomainEntry(kDomainName, kProviderName)});
  if (!IsDomain(*parent)) return nullptr;  // servers are not opened here

  Connection connection;
  if (!connection.Usable()) return nullptr;
  std::vector<NetResource> servers;
  for (const QString& host : connection.BrowseHosts(browseTime_)) servers.push_back(ServerEntry(host, kProviderName));
  return std::make_unique<ListEnumeration>(std::move(servers));
}

}  // namespace platform
