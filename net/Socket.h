#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "net/NetRecord.h"
#include "net/NetRoom.h"
#include "net/Sockets.h"

class QListWidget;
class RoomView;

// The hidden socket form: the windows' way into the network room. The room itself (the
// connections, the threads, the host's table and relay) is a NetRoom, which needs no window;
// this form adds what does: the log lines, the hidden list of users, the message box of a
// refused connection. Everything here runs on the main thread.
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
  // lines and the addressee to private lines; always 0. Never waits: it only queues.
  int SendRecord(TNetRecord record) { return room_.SendRecord(record); }
  // Sends a side's face picture (1 first, 2 second) to everyone; 0. The record carries the
  // side as 0 or 1.
  int SendPicture(int side) { return room_.SendPicture(side); }
  // The leave record with the user name on this member's connection; 0 or -1.
  int SendLeave() { return room_.SendLeave(); }
  // What is sent next on this member's connection goes out ms later.
  void PauseSending(int ms) { room_.PauseSending(ms); }

  // A member's handling of one record from the host (on the main thread).
  void HandleRecord(const TNetRecord& record);
  void AppendLogLine(const QString& line);

  void SetRoomView(RoomView* view) { room_.SetRoomView(view); }

  // Read by the other windows.
  const QString& AddressText() const { return room_.AddressText(); }
  sockets::Socket MemberSocket() const { return room_.MemberSocket(); }
  // Host: the joined members' client numbers, by table position (= user list row - 1).
  QList<int> ClientNumbers() const { return room_.ClientNumbers(); }
  int ClientCount() const { return room_.ClientCount(); }
  bool IsHosting() const { return room_.IsHosting(); }

  // Host: the joined users' names in join order (hidden); shows the room's table.
  QListWidget* lbUserName;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowUsers();

  QPointer<QWidget> output_;
  NetRoom room_;
};

extern TfrmSocket* frmSocket;
