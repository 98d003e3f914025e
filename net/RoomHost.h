#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "net/NetRecord.h"
#include "net/Sockets.h"
#include "net/WireWriter.h"

class RoomView;
class ReadGate;
class ServRcvThread;
class TSockThread;

// The host of a room: the listener on a socket already listening, one receive thread per
// connection, the table of connections and the relay. Everything here runs on the main thread;
// sending only queues (WireWriter), so nothing here waits for a peer.
//
// The table is keyed by connection. A table position counts joined connections only, in join
// order, which is exactly the order of every member's user list after "All"; a connection that
// has not joined yet has no position and receives nothing that is relayed.
//
// The host's own user is a member like any other, but the room cannot go on without it: its
// connection is never cut as a reader that stopped, and a member whose records the host's own
// user has not yet caught up with is not read further (TCP then holds that member back)
// until it has.
class RoomHost {
 public:
  RoomHost(WireWriter& writer, RoomView* view, sockets::Socket listening);
  ~RoomHost();  // stops every thread and lets go of every connection
  RoomHost(const RoomHost&) = delete;
  RoomHost& operator=(const RoomHost&) = delete;

  // The host's own member connection, by its own end: the connection from there is the host's.
  void SetOwnConnection(const sockets::Endpoint& memberEnd);
  // The host's own member has handled one more of the records sent to it.
  void OwnRecordHandled();

  // The handling of one record from the connection with that client number; 0, or -1 when
  // the record was dropped.
  int HandleHostRecord(TNetRecord& record, int clientNumber);
  // Steps run on the main thread on behalf of the threads.
  bool AddClient(sockets::Socket socket);
  void RemoveClient(int clientNumber);
  void ClientLost(int clientNumber);

  // The joined connections' client numbers and names, by table position.
  QList<int> ClientNumbers() const;
  QStringList UserNames() const;
  int ClientCount() const { return static_cast<int>(clients_.size()); }  // joined or not

  static constexpr int MaxClients = 9999;              // client numbers are 0 .. 9998
  static constexpr int StatePauseMs = 100;             // between the parts of the answer to a newcomer
  static constexpr int ClientSendBuffer = 128 * 1024;  // so a member that stops reading is noticed
  // Records of one member that the host's own user may be behind on before that member is
  // not read further.
  static constexpr int OwnBacklogLimit = 256;
  // The notices a connection gets when its name is taken already, or is no name; then it is closed.
  static TNetRecord NameTakenNotice();
  static TNetRecord NameRefusedNotice();

 private:
  struct Client {
    int number = 0;
    std::unique_ptr<ServRcvThread> thread;
    std::shared_ptr<ReadGate> gate;
    WireWriter::Line line = WireWriter::NoLine;
    std::optional<sockets::Endpoint> peer;
    bool own = false;
    bool joined = false;
    QByteArray name;  // as joined, code page 932
    QString shownName;
  };

  Client* ByNumber(int clientNumber) const;
  Client* AtPosition(long long position) const;
  void MarkOwn(Client& client);
  void SendTo(const Client& client, const TNetRecord& record);
  void Relay(const TNetRecord& record);
  void RunBatch(const std::function<void()>& handle);
  int Join(TNetRecord& record, Client& sender);
  void Refuse(Client& sender, const TNetRecord& notice);
  int Leave(TNetRecord& record, Client& sender);
  void TellLeft(TNetRecord& record, Client& leaver);
  int ForwardGame(TNetRecord& record, int clientNumber);
  void SendStateAnswer(const Client& requester);
  void UsersChanged();

  WireWriter& writer_;
  RoomView* view_;
  std::unique_ptr<TSockThread> listener_;
  std::unordered_map<int, std::unique_ptr<Client>> clients_;  // every accepted connection
  std::vector<Client*> joined_;  // the joined ones: index = table position
  std::set<int> freed_;          // numbers below nextNumber_ free again
  int nextNumber_ = 0;

  std::optional<sockets::Endpoint> ownEnd_;
  // Whose records the host's own member has still to handle, in the order they were sent to it
  // (-1 for what no member caused).
  std::deque<int> ownBacklog_;
  int origin_ = -1;  // the client whose record is being handled
};
