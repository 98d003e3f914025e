#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "net/NetRecord.h"
#include "net/NetRoom.h"
#include "net/RoomView.h"
#include "net/Sockets.h"
#include "platform/Dialogs.h"

class QListWidget;

// The hidden socket form: the windows' way into the network room. The room itself (the
// connections, the threads, the host's table and relay) is a NetRoom, which needs no window;
// this form adds what does: the log lines, the hidden list of users, the message box of a
// refused connection. It is the room's observer and hands the game screen its part. Everything
// here runs on the main thread.
class TfrmSocket : public QWidget, private RoomView {
  Q_OBJECT

 public:
  // dialogs: the box that tells a refused connection.
  explicit TfrmSocket(QWidget* parent = nullptr, platform::Dialogs dialogs = {}, RoomSystem system = {});
  ~TfrmSocket() override;

  // Hosting and joining take their time (names are looked up, connections made) without
  // holding the window thread; `done` gets 0, or -1 after a failure, later on this thread.
  using Done = std::function<void(int result)>;
  // Hosts a room and joins it. No message on failure: the caller tells the user, and may ask
  // PortInUse() whether the port was taken.
  void StartHost(const QString& hostName, std::uint16_t port, const QString& userName, bool openRouterPort, Done done);
  // Joins a host. A refused connection is reported in a message box; an unknown name is not.
  void ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName, Done done);
  // Gives up hosting or joining at once; `done` is not called.
  void CancelStart() { room_.CancelStart(); }
  bool PortInUse() const { return portInUse_; }

  // The control that receives log lines (label, edit, memo, list, combo or rich text); 0.
  // Lines of the form's own that came before it are written to it now.
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

  // The game screen's part of what the room reports and asks.
  void SetRoomView(RoomView* view) { view_ = view; }

  // Read by the other windows. The host's address is the first at which others can join.
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
  // The room's observer.
  void ApplyRecord(const TNetRecord& record) override { HandleRecord(record); }
  int PrivateAddressee() const override { return view_ ? view_->PrivateAddressee() : -1; }
  std::vector<_Rev> Placements() const override { return view_ ? view_->Placements() : std::vector<_Rev>{}; }
  QString PlayerName(int side) const override { return view_ ? view_->PlayerName(side) : QString(); }
  QByteArray FacePicture(int side) const override { return view_ ? view_->FacePicture(side) : QByteArray(); }
  void MemberLeft(int clientNumber) override;
  void UsersChanged() override;
  void HostLost() override;
  void RoomLine(const QString& line) override;

  QPointer<QWidget> output_;
  QStringList waitingLines_;  // the form's own lines before there was a control for them
  RoomView* view_ = nullptr;
  bool portInUse_ = false;
  platform::Dialogs dialogs_;
  NetRoom room_;
};

extern TfrmSocket* frmSocket;
