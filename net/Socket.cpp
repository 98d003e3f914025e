#include "net/Socket.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QThread>

#include "net/CliRecv.h"
#include "net/RoomView.h"
#include "net/ServRecv.h"
#include "net/ServSock.h"
#include "platform/Dialogs.h"

TfrmSocket* frmSocket = nullptr;

namespace {
// How long the host's start waits for its listener to be listening (a slow name lookup).
constexpr int ListenerStartLimitMs = 15000;
}  // namespace

TfrmSocket::TfrmSocket(QWidget* parent) : QWidget(parent), lbUserName(new QListWidget(this)) {
  setObjectName(QStringLiteral("frmSocket"));
  setWindowTitle(QStringLiteral("Socket管理"));
  lbUserName->setObjectName(QStringLiteral("lbUserName"));
}

TfrmSocket::~TfrmSocket() { CloseRoom(); }

void TfrmSocket::closeEvent(QCloseEvent* event) {
  CloseRoom();
  QWidget::closeEvent(event);
}

int TfrmSocket::StartMember(sockets::Socket socket) {
  memberSocket_ = socket;
  auto* thread = new CliRcvThread(socket, CliRcvThread::Handlers{
                                              [this](const TNetRecord& r) { HandleRecord(r); },
                                              [this] {
                                                // The host is gone: later sends go nowhere.
                                                if (memberThread_) memberThread_->CloseSocket();
                                                memberSocket_ = sockets::InvalidSocket;
                                              },
                                          });
  memberThread_ = thread;
  thread->Launch();
  joinRecord_.Clear();
  joinRecord_.SetKind(mkJoin);
  joinRecord_.SetName(userName_);
  joinRecord_.SetJoinHandle(static_cast<std::uint32_t>(socket));
  sockets::SendAll(socket, joinRecord_.data(), TNetRecord::Size, SendLimitMs);
  return 0;
}

int TfrmSocket::ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  if (memberSocket_ != sockets::InvalidSocket || hosting_) return -1;  // already in a room
  hostName_ = hostName;
  port_ = port;
  userName_ = userName;
  if (sockets::Startup() != 0) return -1;
  std::uint32_t address = 0;
  if (sockets::Resolve(hostName, address) != 0) {
    sockets::Cleanup();
    return -1;
  }
  const sockets::Socket s = sockets::OpenTcp();
  if (s == sockets::InvalidSocket) return -1;
  address_ = sockets::AddressText(address);
  if (sockets::Connect(s, address, port) != 0) {
    platform::ShowMessage(QStringLiteral("この番号は現在使われておりません"), QStringLiteral("ネットワークの接続"));
    sockets::Close(s);
    sockets::Cleanup();
    return -1;
  }
  return StartMember(s);
}

int TfrmSocket::StartHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  if (memberSocket_ != sockets::InvalidSocket || hosting_) return -1;
  hostName_ = hostName;
  port_ = port;
  userName_ = userName;
  if (sockets::Startup() != 0) return -1;
  hosting_ = true;
  lbUserName->clear();
  clientSockets_.clear();
  recvThreads_.clear();
  clientNumbers_.clear();

  auto state = std::make_shared<ListenerState>();
  auto* listener = new TSockThread(hostName, port, state, [this](sockets::Socket s) { return AddClient(s); });
  listener_ = listener;
  listener->Launch();
  QThread::msleep(100);
  QDeadlineTimer limit(ListenerStartLimitMs);
  while (!state->ready.load() && !limit.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  if (!state->ready.load() || state->failed.load()) {
    StopListener();
    return -1;
  }
  address_ = state->address;

  std::uint32_t address = 0;
  const sockets::Socket s = sockets::Resolve(hostName, address) == 0 ? sockets::OpenTcp() : sockets::InvalidSocket;
  // The host plays in its own room like any member: without that connection there is no room.
  if (s == sockets::InvalidSocket || sockets::Connect(s, address, port) != 0) {
    if (s != sockets::InvalidSocket) sockets::Close(s);
    StopListener();
    sockets::Cleanup();
    return -1;
  }
  return StartMember(s);
}

void TfrmSocket::StopListener() {
  if (listener_) listener_->Stop();
  listener_.clear();
  for (qsizetype i = 0; i < clientSockets_.size(); ++i) {
    if (recvThreads_[i]) recvThreads_[i]->Stop();
    else sockets::Close(clientSockets_[i]);
  }
  clientSockets_.clear();
  recvThreads_.clear();
  clientNumbers_.clear();
  joinedNames_.clear();
  outgoing_.clear();
  hosting_ = false;
}

void TfrmSocket::CloseRoom() {
  StopListener();
  if (memberThread_) {
    memberThread_->Stop();  // the thread closes the socket as it ends
  } else if (memberSocket_ != sockets::InvalidSocket) {
    sockets::Close(memberSocket_);
  }
  memberThread_.clear();
  memberSocket_ = sockets::InvalidSocket;
}

int TfrmSocket::SetOutputControl(QWidget* control) {
  output_ = control;
  return 0;
}

void TfrmSocket::AppendLogLine(const QString& line) {
  QWidget* out = output_.data();
  if (!out) return;
  if (auto* label = qobject_cast<QLabel*>(out)) {
    label->setText(line);
  } else if (auto* edit = qobject_cast<QLineEdit*>(out)) {
    edit->setText(line);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(out)) {
    memo->appendPlainText(line);
  } else if (auto* rich = qobject_cast<QTextEdit*>(out)) {
    // Inserted as plain text: a peer's line is never read as markup.
    QTextCursor cursor(rich->document());
    cursor.movePosition(QTextCursor::End);
    if (!rich->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(line);
  } else if (auto* list = qobject_cast<QListWidget*>(out)) {
    list->addItem(line);
  } else if (auto* combo = qobject_cast<QComboBox*>(out)) {
    combo->addItem(line);
  }
}

void TfrmSocket::HandleRecord(const TNetRecord& record) {
  const std::uint16_t kind = record.Kind();
  const bool logged = kind == mkJoin || kind == mkChat || kind == mkLeave;
  const QString line = logged ? LogLine(record) : QString();
  if (view_) view_->ApplyRecord(record);
  if (logged) AppendLogLine(line);
}

int TfrmSocket::SendRecord(TNetRecord record) {
  if (record.Kind() < mkUserList) record.SetName(userName_);
  if (record.Kind() == mkPrivate) record.SetNumber(view_ ? view_->PrivateAddressee() : -1);
  if (memberSocket_ != sockets::InvalidSocket)
    sockets::SendAll(memberSocket_, record.data(), TNetRecord::Size, SendLimitMs);
  return 0;
}

int TfrmSocket::SendPicture(int side) {
  if (!view_ || side < 0 || side > 1) return 0;
  for (const TNetRecord& part : PictureRecords(static_cast<std::uint16_t>(side), view_->FacePicture(side)))
    SendRecord(part);
  return 0;
}

int TfrmSocket::SendLeave() {
  if (memberSocket_ == sockets::InvalidSocket) return -1;
  TNetRecord r;
  r.SetKind(mkLeave);
  r.SetName(userName_);
  return sockets::SendAll(memberSocket_, r.data(), TNetRecord::Size, SendLimitMs);
}
