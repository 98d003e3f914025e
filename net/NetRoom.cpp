#include "net/NetRoom.h"

#include <QMetaObject>

#include <system_error>

#include "net/Connector.h"
#include "net/RoomHost.h"
#include "net/RoomMember.h"
#include "net/RoomView.h"
#include "net/WireWriter.h"

NetRoom::NetRoom(RoomView* view, RoomSystem system) : view_(view), system_(std::move(system)) {}

NetRoom::~NetRoom() {
  CancelStart();
  CloseRoom();
}

template <typename T>
void NetRoom::Retire(std::unique_ptr<T>& helper) {
  if (!helper) return;
  std::shared_ptr<T> last(std::move(helper));
  QMetaObject::invokeMethod(&context_, [last] {}, Qt::QueuedConnection);
}

void NetRoom::Resolve(const QString& name, std::function<void(std::vector<IpAddress>)> then) {
  if (const std::optional<IpAddress> literal = IpAddress::FromText(name)) {
    // Nothing to look up; the answer still comes later, as every start's does.
    QMetaObject::invokeMethod(&context_, [this, then, a = *literal] {
      if (Starting()) then({a});
    }, Qt::QueuedConnection);
    return;
  }
  lookup_ = std::make_unique<platform::NameLookup>(name, [this, then](std::vector<IpAddress> found) {
    Retire(lookup_);
    then(std::move(found));
  }, system_.resolver);
}

void NetRoom::Connect(std::vector<IpAddress> addresses, std::function<void(sockets::Socket, const IpAddress&)> then) {
  connector_ = std::make_unique<Connector>(std::move(addresses), port_, [this, then](Connector::Result r) {
    Retire(connector_);
    then(r.socket, r.address);
  });
}

bool NetRoom::OpenWriter() {
  if (writer_) return true;
  try {
    writer_ = std::make_unique<WireWriter>();
  } catch (const std::system_error&) {
    return false;  // out of descriptors: no room can be opened now
  }
  return true;
}

void NetRoom::Finish(Outcome outcome) {
  Done done = std::move(done_);
  done_ = nullptr;
  if (done) done(outcome);
}

void NetRoom::CancelStart() {
  done_ = nullptr;
  lookup_.reset();
  connector_.reset();
  if (!member_) host_.reset();  // a host whose own member never joined is no room
}

void NetRoom::ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName, Done done) {
  done_ = std::move(done);
  if (member_ || host_) {  // already in a room
    QMetaObject::invokeMethod(&context_, [this] { Finish(Outcome::NoAddress); }, Qt::QueuedConnection);
    return;
  }
  userName_ = userName;
  port_ = port;
  Resolve(hostName, [this](std::vector<IpAddress> addresses) {
    if (addresses.empty()) return Finish(Outcome::NoAddress);
    Connect(std::move(addresses), [this](sockets::Socket s, const IpAddress& reached) {
      if (s == sockets::InvalidSocket) return Finish(Outcome::Refused);
      if (!OpenWriter()) {
        sockets::Close(s);
        return Finish(Outcome::Refused);
      }
      address_ = reached.Text();
      member_ = std::make_unique<RoomMember>(*writer_, view_, s, userName_);
      Finish(Outcome::Joined);
    });
  });
}

void NetRoom::StartHost(const QString& hostName, std::uint16_t port, const QString& userName, HostOptions options,
                        Done done) {
  done_ = std::move(done);
  if (member_ || host_) {
    QMetaObject::invokeMethod(&context_, [this] { Finish(Outcome::NoAddress); }, Qt::QueuedConnection);
    return;
  }
  userName_ = userName;
  port_ = port;
  options_ = options;
  // The computer's own name means every interface whatever it resolves to: nothing to look up.
  if (hostName.compare(system_.computerName(), Qt::CaseInsensitive) == 0) {
    QMetaObject::invokeMethod(&context_, [this, hostName] {
      if (Starting()) Listen(hostName, {});
    }, Qt::QueuedConnection);
    return;
  }
  Resolve(hostName, [this, hostName](std::vector<IpAddress> resolved) {
    if (resolved.empty()) return Finish(Outcome::NoAddress);
    Listen(hostName, resolved);
  });
}

void NetRoom::Listen(const QString& hostName, const std::vector<IpAddress>& resolved) {
  const ListenPlan plan = PlanListening(hostName, system_.computerName(), resolved);
  bool inUse = false;
  sockets::Socket listening = sockets::InvalidSocket;
  if (plan.everywhere) {
    // One socket for both families; IPv4 alone where the system has no IPv6.
    listening = sockets::Listen(IpAddress::AnyV6(), port_, Backlog, inUse);
    if (listening == sockets::InvalidSocket && !inUse) listening = sockets::Listen(IpAddress::AnyV4(), port_, Backlog, inUse);
  } else {
    listening = sockets::Listen(plan.address, port_, Backlog, inUse);
  }
  if (listening == sockets::InvalidSocket) return Finish(inUse ? Outcome::PortInUse : Outcome::NoAddress);
  if (!OpenWriter()) {
    sockets::Close(listening);
    return Finish(Outcome::NoAddress);
  }
  host_ = std::make_unique<RoomHost>(*writer_, view_, listening);

  // The host plays in its own room like any member: without that connection there is no room.
  const IpAddress own = plan.everywhere ? IpAddress::LoopbackV4() : plan.address;
  Connect({own}, [this, plan](sockets::Socket s, const IpAddress&) {
    if (s == sockets::InvalidSocket) {
      host_.reset();
      return Finish(Outcome::NoAddress);
    }
    if (const std::optional<sockets::Endpoint> end = sockets::LocalEndpoint(s)) host_->SetOwnConnection(*end);
    member_ = std::make_unique<RoomMember>(*writer_, view_, s, userName_, [this] {
      if (host_) host_->OwnRecordHandled();
    });
    AnnounceAddresses(plan);
    Finish(Outcome::Joined);
  });
}

void NetRoom::AnnounceAddresses(const ListenPlan& plan) {
  const std::vector<IpAddress> addresses =
      plan.everywhere ? AdvertisedAddresses(system_.interfaces()) : std::vector<IpAddress>{plan.address};
  address_ = addresses.empty() ? (plan.everywhere ? IpAddress::LoopbackV4() : plan.address).Text() : addresses.front().Text();
  const QString line = AddressLine(addresses, port_);
  if (view_ && !line.isEmpty()) view_->RoomLine(line);
  if (!options_.openRouterPort || !BehindRouter(addresses)) return;
  const std::uint16_t port = port_;
  mapping_ = std::make_unique<PortMapping>(port, options_.router, [this, port](std::optional<PortMapping::Mapped> mapped) {
    if (!view_) return;
    view_->RoomLine(mapped ? InternetLine(mapped->external, mapped->port) : RouterRefusedLine());
  });
}

void NetRoom::CloseRoom() {
  mapping_.reset();  // the mapping is removed on its own thread
  host_.reset();
  member_.reset();
  writer_.reset();  // this member's last records (its leave) go out within the writer's limits
}

int NetRoom::SendRecord(const TNetRecord& record) { return member_ ? member_->SendRecord(record) : 0; }
int NetRoom::SendPicture(int side) { return member_ ? member_->SendPicture(side) : 0; }
int NetRoom::SendLeave() { return member_ ? member_->SendLeave() : -1; }
void NetRoom::PauseSending(int ms) {
  if (member_) member_->PauseSending(ms);
}

sockets::Socket NetRoom::MemberSocket() const { return member_ ? member_->Socket() : sockets::InvalidSocket; }
QList<int> NetRoom::ClientNumbers() const { return host_ ? host_->ClientNumbers() : QList<int>{}; }
QStringList NetRoom::UserNames() const { return host_ ? host_->UserNames() : QStringList{}; }
int NetRoom::ClientCount() const { return host_ ? host_->ClientCount() : 0; }
