#pragma once
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "net/NetRecord.h"
#include "net/PortMapping.h"
#include "net/RoomAddresses.h"
#include "net/Sockets.h"
#include "platform/ComputerName.h"
#include "platform/InterfaceAddresses.h"
#include "platform/NameLookup.h"

class Connector;
class RoomHost;
class RoomMember;
class RoomView;
class WireWriter;

// What a room asks of the system, given to it when it is made; tests answer in its place.
struct RoomSystem {
  std::function<QString()> computerName = platform::ComputerName;
  std::function<std::vector<platform::InterfaceAddress>()> interfaces = platform::InterfaceAddresses;
  platform::NameLookup::Resolver resolver;  // empty: the system's resolver
};

// A network room as this machine takes part in it: the member connection, on the host also
// the host, and the one writer they send through. Starting one looks names up, listens and
// connects without holding the window thread, and reports when it is done; everything else
// runs on the window thread and only queues.
class NetRoom {
 public:
  // view: the room's one observer; it outlives the room.
  explicit NetRoom(RoomView* view, RoomSystem system = {});
  ~NetRoom();
  NetRoom(const NetRoom&) = delete;
  NetRoom& operator=(const NetRoom&) = delete;

  enum class Outcome {
    Joined,     // in the room
    NoAddress,  // the name is no address of this machine, or no name the look-up knows
    Refused,    // nobody answered the connection
    PortInUse,  // host: another program listens on the port
  };
  // Called once on the window thread when the start is over, never from inside the call that
  // started it, and never after CancelStart().
  using Done = std::function<void(Outcome)>;

  struct HostOptions {
    bool openRouterPort = false;  // ask the home router to forward the port
    PortMapping::Timing router;
  };
  // Hosts a room on every interface, or on the one address named (see PlanListening), and
  // joins it over loopback like any member.
  void StartHost(const QString& hostName, std::uint16_t port, const QString& userName, HostOptions options, Done done);
  // Joins a host by name or address, trying each of its addresses (see Connector).
  void ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName, Done done);
  // Gives up a start at once; nothing of it is left behind.
  void CancelStart();
  bool Starting() const { return static_cast<bool>(done_); }

  // What the member sends (see RoomMember); nothing without a connection.
  int SendRecord(const TNetRecord& record);
  int SendPicture(int side);
  int SendLeave();
  void PauseSending(int ms);

  // Stops every thread and lets go of every connection; what this member still had queued
  // (its leave) goes out first. Records on their way are not handled any more.
  void CloseRoom();

  // The host: the first address others can join at; a member: the host's address it reached.
  const QString& AddressText() const { return address_; }
  sockets::Socket MemberSocket() const;
  // Host: the joined connections' client numbers and names, by table position.
  QList<int> ClientNumbers() const;
  QStringList UserNames() const;
  int ClientCount() const;
  bool IsHosting() const { return static_cast<bool>(host_); }

  static constexpr int Backlog = 256;

 private:
  void Resolve(const QString& name, std::function<void(std::vector<IpAddress>)> then);
  void Listen(const QString& hostName, const std::vector<IpAddress>& resolved);
  void Connect(std::vector<IpAddress> addresses, std::function<void(sockets::Socket, const IpAddress&)> then);
  void Finish(Outcome outcome);
  bool OpenWriter();
  void AnnounceAddresses(const ListenPlan& plan);
  // Lets go of a helper after the call it is making into us has returned.
  template <typename T>
  void Retire(std::unique_ptr<T>& helper);

  RoomView* view_;
  const RoomSystem system_;
  QObject context_;
  std::unique_ptr<WireWriter> writer_;
  std::unique_ptr<RoomHost> host_;
  std::unique_ptr<RoomMember> member_;
  std::unique_ptr<PortMapping> mapping_;

  // The start under way.
  Done done_;
  std::unique_ptr<platform::NameLookup> lookup_;
  std::unique_ptr<Connector> connector_;
  QString userName_;
  std::uint16_t port_ = 0;
  HostOptions options_;

  QString address_;
};
