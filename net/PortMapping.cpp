#include "net/PortMapping.h"

#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
#include <natpmp.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/time.h>

#include <chrono>
#include <string>

#include "platform/Worker.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::Worker;

int MsUntil(Clock::time_point t) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
  return static_cast<int>(std::max<long long>(ms, 0));
}

// A router reached by one of the two protocols, able to map, renew and remove one port.
class Router {
 public:
  virtual ~Router() = default;
  // Maps (or maps again) the port; answers what the internet sees.
  virtual std::optional<PortMapping::Mapped> Map(std::uint16_t port, int leaseSeconds, Clock::time_point until) = 0;
  virtual void Unmap(std::uint16_t port, Clock::time_point until) = 0;
};

class UpnpRouter : public Router {
 public:
  // Finds an internet gateway device on the local network within the time; nothing if none.
  static std::unique_ptr<UpnpRouter> Find(Clock::time_point until) {
    // Half the time at most, so that a router that speaks only NAT-PMP is still asked in time.
    // An IGD of any version answers a search for the first.
    int error = 0;
    UPNPDev* devices = upnpDiscoverDevice("urn:schemas-upnp-org:device:InternetGatewayDevice:1",
                                          std::max(MsUntil(until) / 2, 1), nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2,
                                          &error);
    if (!devices) return nullptr;
    auto router = std::make_unique<UpnpRouter>();
    char lan[64] = {};
    const int found = UPNP_GetValidIGD(devices, &router->urls_, &router->data_, lan, sizeof lan);
    freeUPNPDevlist(devices);
    router->valid_ = found != 0;
    if (found != 1) return nullptr;  // none, or one that says it is not connected
    router->lan_ = lan;
    return router;
  }
  UpnpRouter() = default;
  ~UpnpRouter() override {
    if (valid_) FreeUPNPUrls(&urls_);
  }

  std::optional<PortMapping::Mapped> Map(std::uint16_t port, int leaseSeconds, Clock::time_point) override {
    const std::string p = std::to_string(port);
    std::string lease = std::to_string(leaseSeconds);
    int rc = Add(p, lease);
    if (rc == 725) {  // OnlyPermanentLeasesSupported: renewing then only repeats it
      lease = "0";
      rc = Add(p, lease);
    }
    if (rc != UPNPCOMMAND_SUCCESS) return std::nullopt;
    char external[64] = {};
    if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, external) != UPNPCOMMAND_SUCCESS)
      return std::nullopt;
    const std::optional<platform::IpAddress> address = platform::IpAddress::FromText(QString::fromLatin1(external));
    if (!address) return std::nullopt;
    return PortMapping::Mapped{*address, port};
  }

  void Unmap(std::uint16_t port, Clock::time_point) override {
    UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, std::to_string(port).c_str(), "TCP", nullptr);
  }

 private:
  int Add(const std::string& port, const std::string& lease) {
    return UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, port.c_str(), port.c_str(), lan_.c_str(),
                               "Velmora", "TCP", nullptr, lease.c_str());
  }
  UPNPUrls urls_{};
  IGDdatas data_{};
  std::string lan_;
  bool valid_ = false;
};

class NatPmpRouter : public Router {
 public:
  static std::unique_ptr<NatPmpRouter> Find() {
    auto router = std::make_unique<NatPmpRouter>();
    if (initnatpmp(&router->natpmp_, 0, 0) != 0) return nullptr;
    router->open_ = true;
    return router;
  }
  NatPmpRouter() = default;
  ~NatPmpRouter() override {
    if (open_) closenatpmp(&natpmp_);
  }

  std::optional<PortMapping::Mapped> Map(std::uint16_t port, int leaseSeconds, Clock::time_point until) override {
    natpmpresp_t answer{};
    if (sendpublicaddressrequest(&natpmp_) < 0 || !Answer(answer, until)) return std::nullopt;
    const platform::IpAddress external = platform::IpAddress::V4(answer.pnu.publicaddress.addr.s_addr);
    if (sendnewportmappingrequest(&natpmp_, NATPMP_PROTOCOL_TCP, port, port, static_cast<std::uint32_t>(leaseSeconds)) < 0 ||
        !Answer(answer, until))
      return std::nullopt;
    return PortMapping::Mapped{external, answer.pnu.newportmapping.mappedpublicport};
  }

  void Unmap(std::uint16_t port, Clock::time_point until) override {
    natpmpresp_t answer{};
    if (sendnewportmappingrequest(&natpmp_, NATPMP_PROTOCOL_TCP, port, 0, 0) >= 0) Answer(answer, until);
  }

 private:
  // Waits for the answer, letting the library send its retries, until the time is up.
  bool Answer(natpmpresp_t& answer, Clock::time_point until) {
    for (;;) {
      timeval timeout{};
      if (getnatpmprequesttimeout(&natpmp_, &timeout) != 0) return false;
      const int waitMs = std::min(MsUntil(until), static_cast<int>(timeout.tv_sec * 1000 + timeout.tv_usec / 1000) + 1);
      pollfd p{natpmp_.s, POLLIN, 0};
      ::poll(&p, 1, waitMs);
      const int rc = readnatpmpresponseorretry(&natpmp_, &answer);
      if (rc == 0) return true;
      if (rc != NATPMP_TRYAGAIN || MsUntil(until) == 0) return false;
    }
  }
  natpmp_t natpmp_{};
  bool open_ = false;
};

// Whichever router answers within the time: UPnP first, the NAT-PMP in the time left.
std::unique_ptr<Router> FindAndMap(std::uint16_t port, const PortMapping::Timing& timing,
                                   std::optional<PortMapping::Mapped>& mapped) {
  const auto until = Clock::now() + std::chrono::milliseconds(timing.discoverMs);
  if (auto upnp = UpnpRouter::Find(until)) {
    mapped = upnp->Map(port, timing.leaseSeconds, until);
    if (mapped) return upnp;
  }
  if (auto pmp = NatPmpRouter::Find()) {
    mapped = pmp->Map(port, timing.leaseSeconds, until);
    if (mapped) return pmp;
  }
  return nullptr;
}

}  // namespace

PortMapping::PortMapping(std::uint16_t port, Timing timing, Reported reported) {
  worker_ = std::make_unique<Worker>([port, timing, reported = std::move(reported)](Worker::Context& context) {
    // miniupnpc waits with select() when a signal interrupts its connect, which a descriptor
    // numbered past 1,023 (a large room has many) would overrun: signals go to other threads.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    std::optional<Mapped> mapped;
    const std::unique_ptr<Router> router = FindAndMap(port, timing, mapped);
    context.Hand([&] { reported(mapped); });
    if (!router) return;
    while (context.Rest(timing.renewMs)) {
      const auto until = Clock::now() + std::chrono::milliseconds(timing.discoverMs);
      router->Map(port, timing.leaseSeconds, until);
    }
    // The room has closed: the router forgets the port.
    router->Unmap(port, Clock::now() + std::chrono::milliseconds(timing.discoverMs));
  });
}

PortMapping::~PortMapping() { worker_.reset(); }
