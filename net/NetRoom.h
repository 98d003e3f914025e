#pragma once
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "net/NetRecord.h"
#include "net/Sockets.h"
#include "net/WireWriter.h"

class RoomView;
class TSockThread;
class ServRcvThread;
class CliRcvThread;

// The network room without a window: this member's connection to the host and, on the host,
// the listener, one receive thread per connection and the table of connections with the relay.
// Everything here runs on the main thread; sending only queues (WireWriter), so nothing here
// waits for a peer.
//
// The host's table is keyed by connection. A table position counts joined connections only,
// in join order, which is exactly the order of every member's user list after "All"; a
// connection that has not joined yet has no position and receives nothing that is relayed.
class NetRoom {
 public:
  struct Hooks {
    std::function<void(const TNetRecord&)> record;  // a record from the host (HandleRecord)
    std::function<void()> usersChanged;             // host: the joined users changed
  };
  explicit NetRoom(Hooks hooks);
  ~NetRoom();
  NetRoom(const NetRoom&) = delete;
  NetRoom& operator=(const NetRoom&) = delete;

  enum class JoinResult { Joined, NoAddress, Refused };
  // Hosts a room on the address the host name resolves to and joins it; 0 or -1.
  int StartHost(const QString& hostName, std::uint16_t port, const QString& userName);
  JoinResult ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName);
  // Queues one record on this member's connection, adding the user name to chat and private
  // lines and the addressee to private lines; always 0.
  int SendRecord(TNetRecord record);
  // Sends the face picture of side 1 or 2 to everyone; always 0.
  int SendPicture(int side);
  // The leave record with the user name; 0, or -1 without a connection.
  int SendLeave();
  // A delay on this member's connection: what is sent next goes out ms later.
  void PauseSending(int ms);

  // The host's handling of one record from the connection with that client number; 0, or -1
  // when the record was dropped.
  int HandleHostRecord(TNetRecord& record, int clientNumber);
  // Steps run on the main thread on behalf of the threads.
  bool AddClient(sockets::Socket socket);
  void RemoveClient(int clientNumber);
  void ClientLost(int clientNumber);

  // Stops every thread and lets go of every connection; what this member still had queued
  // (its leave) goes out first. Records on their way are not handled any more.
  void CloseRoom();

  void SetRoomView(RoomView* view) { view_ = view; }
  RoomView* View() const { return view_; }

  const QString& AddressText() const { return address_; }
  sockets::Socket MemberSocket() const { return memberSocket_; }
  // Host: the joined connections' client numbers and names, by table position.
  QList<int> ClientNumbers() const;
  QStringList UserNames() const;
  int ClientCount() const { return static_cast<int>(clients_.size()); }  // joined or not
  bool IsHosting() const { return hosting_; }

  static constexpr int MaxClients = 9999;         // client numbers are 0 .. 9998
  static constexpr int ConnectLimitMs = 5000;     // a host that does not answer the connection
  static constexpr int StatePauseMs = 100;        // between the parts of the answer to a newcomer
  static constexpr int ClientSendBuffer = 128 * 1024;  // so a member that stops reading is noticed
  // The notice a connection gets when its name is taken already; then it is closed.
  static TNetRecord NameTakenNotice();

 private:
  struct Client {
    int number;
    QPointer<ServRcvThread> thread;
    WireWriter::Line line;
    bool joined = false;
    QByteArray name;  // as joined, code page 932
    QString shownName;
  };

  WireWriter& Writer();
  int StartMember(sockets::Socket socket);
  void StopHosting();

  Client* ByNumber(int clientNumber);
  Client* AtPosition(long long position);
  void SendTo(const Client& client, const TNetRecord& record);
  void Relay(const TNetRecord& record);
  void RunBatch(const std::function<void()>& handle);
  int Join(TNetRecord& record, Client& sender);
  int Leave(TNetRecord& record, Client& sender);
  void TellLeft(TNetRecord& record, Client& leaver);
  int ForwardGame(TNetRecord& record, int clientNumber);
  void SendStateAnswer(const Client& requester);

  Hooks hooks_;
  RoomView* view_ = nullptr;
  std::unique_ptr<WireWriter> writer_;

  QString userName_;
  QString address_;

  sockets::Socket memberSocket_ = sockets::InvalidSocket;
  WireWriter::Line memberLine_ = WireWriter::NoLine;
  QPointer<CliRcvThread> memberThread_;

  bool hosting_ = false;
  QPointer<TSockThread> listener_;
  std::vector<std::unique_ptr<Client>> clients_;  // every accepted connection, in accept order
  std::vector<int> joined_;      // client numbers of the joined ones: index = table position
};
