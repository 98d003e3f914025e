#pragma once
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "net/NetRecord.h"
#include "net/Sockets.h"

class QListWidget;
class TIReversi;
class RoomView;
class TSockThread;
class ServRcvThread;
class CliRcvThread;
struct ListenerState;

// The hidden socket form: owns the network room. Every member, the host's own user included,
// has one connection to the host; the host also owns the listener, one receive thread per
// connection and the client table. Everything here runs on the main thread.
class TfrmSocket : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmSocket(QWidget* parent = nullptr);
  ~TfrmSocket() override;

  // Hosts a room on the address the host name resolves to and joins it; 0 or -1, no message.
  int StartHost(const QString& hostName, std::uint16_t port, const QString& userName);
  // Joins a host; 0 or -1. A refused connection is reported in a message box.
  int ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName);
  // The control that receives log lines (label, edit, memo, list, combo or rich text); 0.
  int SetOutputControl(QWidget* control);
  // Puts one record on this member's connection, adding the user name to chat and private
  // lines and the addressee to private lines; always 0.
  int SendRecord(TNetRecord record);
  // Sends a side's face picture (0 first, 1 second) to everyone; 0.
  int SendPicture(int side);
  // The leave record with the user name, straight on this member's connection; 0 or -1.
  int SendLeave();

  // A member's handling of one record from the host (on the main thread).
  void HandleRecord(const TNetRecord& record);
  // The host's handling of one record from the connection with that client number; 0, or -1
  // when the record was dropped.
  int HandleHostRecord(TNetRecord& record, int clientNumber);
  void AppendLogLine(const QString& line);

  // Stops the listener and every receive thread, lets go of every socket and frees the client
  // table. Records still on their way are not handled any more. Also run when the form closes.
  void CloseRoom();

  void SetBoard(TIReversi* board) { board_ = board; }
  void SetRoomView(RoomView* view) { view_ = view; }

  // Read by the other windows.
  const QString& AddressText() const { return address_; }
  sockets::Socket MemberSocket() const { return memberSocket_; }
  const QList<int>& ClientNumbers() const { return clientNumbers_; }
  int ClientCount() const { return static_cast<int>(clientNumbers_.size()); }
  bool IsHosting() const { return hosting_; }
  const QString& HostName() const { return hostName_; }
  std::uint16_t Port() const { return port_; }
  const QString& UserName() const { return userName_; }

  // Host: the client numbers of the running game's Net players, as the match menu records
  // them; -1 for none. A leave of either ends the game (FGameEnd = 1).
  int NetUser1 = -1;
  int NetUser2 = -1;

  // Host: the joined users' names in join order (hidden).
  QListWidget* lbUserName;

  // Steps run on the main thread on behalf of the threads.
  bool AddClient(sockets::Socket socket);
  void RemoveClient(int clientNumber);
  void ClientLost(int clientNumber);

  static constexpr int MaxClients = 9999;  // client numbers are 0 .. 9998
  static constexpr int SendLimitMs = 2000;  // a member that takes no record for this long is lost

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int StartMember(sockets::Socket socket);
  void StopListener();
  int PositionOf(int clientNumber) const { return static_cast<int>(clientNumbers_.indexOf(clientNumber)); }
  bool IsPosition(long long position) const { return position >= 0 && position < clientNumbers_.size(); }
  void SendTo(int position, const TNetRecord& record);
  void RunBatch(const std::function<void()>& handle);
  void FlushSends();
  void Relay(const TNetRecord& record);
  int Leave(TNetRecord& record, int clientNumber);
  int ForwardGame(TNetRecord& record, int clientNumber);
  void SendStateAnswer(int position, int clientNumber);

  QString hostName_;
  std::uint16_t port_ = 0;
  QString userName_;
  QString address_;
  TNetRecord joinRecord_;
  QPointer<QWidget> output_;
  TIReversi* board_ = nullptr;
  RoomView* view_ = nullptr;

  sockets::Socket memberSocket_ = sockets::InvalidSocket;
  QPointer<CliRcvThread> memberThread_;

  bool hosting_ = false;
  QPointer<TSockThread> listener_;
  // The client table: three parallel lists, changed only on the main thread and always together.
  QList<sockets::Socket> clientSockets_;
  QList<QPointer<ServRcvThread>> recvThreads_;
  QList<int> clientNumbers_;
  // While a batch of records is handled, what goes to each table position is collected and
  // sent in one piece afterwards (and before the table changes or the host pauses).
  int batchDepth_ = 0;
  QList<QByteArray> outgoing_;
  // The name each connection joined with, for the notice when it is lost without a leave.
  QHash<int, QByteArray> joinedNames_;
};

extern TfrmSocket* frmSocket;
