// The member's half of the room: the connection to the host, sending and the end of the room.
#include "net/NetRoom.h"

#include "net/CliRecv.h"
#include "net/RoomView.h"
#include "net/ServRecv.h"
#include "net/ServSock.h"

NetRoom::NetRoom(Hooks hooks) : hooks_(std::move(hooks)) {}

NetRoom::~NetRoom() {
  CloseRoom();
  writer_.reset();  // gives this member's last records (its leave) a bounded time to go out
}

WireWriter& NetRoom::Writer() {
  if (!writer_) writer_ = std::make_unique<WireWriter>();
  return *writer_;
}

int NetRoom::StartMember(sockets::Socket socket) {
  memberSocket_ = socket;
  memberLine_ = Writer().Open(socket);
  auto* thread = new CliRcvThread(socket, CliRcvThread::Handlers{
                                              [this](const TNetRecord& r) {
                                                if (hooks_.record) hooks_.record(r);
                                              },
                                              [this] {
                                                // The host is gone: later sends go nowhere.
                                                if (memberThread_) memberThread_->CloseSocket();
                                                Writer().Close(memberLine_, false);
                                                memberLine_ = WireWriter::NoLine;
                                                memberSocket_ = sockets::InvalidSocket;
                                              },
                                          });
  memberThread_ = thread;
  thread->Launch();
  TNetRecord join;
  join.SetKind(mkJoin);
  join.SetName(userName_);
  join.SetJoinHandle(static_cast<std::uint32_t>(socket));
  Writer().Send(memberLine_, join.data(), TNetRecord::Size);
  return 0;
}

NetRoom::JoinResult NetRoom::ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  if (memberSocket_ != sockets::InvalidSocket || hosting_) return JoinResult::NoAddress;  // already in a room
  userName_ = userName;
  std::uint32_t address = 0;
  if (sockets::Startup() != 0 || sockets::Resolve(hostName, address) != 0) return JoinResult::NoAddress;
  const sockets::Socket s = sockets::OpenTcp();
  if (s == sockets::InvalidSocket) return JoinResult::NoAddress;
  address_ = sockets::AddressText(address);
  if (sockets::Connect(s, address, port, ConnectLimitMs) != 0) {
    sockets::Close(s);
    return JoinResult::Refused;
  }
  StartMember(s);
  return JoinResult::Joined;
}

int NetRoom::StartHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  if (memberSocket_ != sockets::InvalidSocket || hosting_) return -1;
  userName_ = userName;
  std::uint32_t address = 0;
  if (sockets::Startup() != 0 || sockets::Resolve(hostName, address) != 0) return -1;
  // Bound and listening before the listener thread starts: nothing to wait for.
  const sockets::Socket listening = sockets::OpenTcp();
  if (listening == sockets::InvalidSocket) return -1;
  if (sockets::Bind(listening, address, port) != 0 || sockets::Listen(listening, TSockThread::Backlog) != 0) {
    sockets::Close(listening);
    return -1;
  }
  hosting_ = true;
  address_ = sockets::AddressText(address);
  auto* listener = new TSockThread(listening, [this](sockets::Socket s) { return AddClient(s); });
  listener_ = listener;
  listener->Launch();

  // The host plays in its own room like any member: without that connection there is no room.
  const sockets::Socket s = sockets::OpenTcp();
  if (s == sockets::InvalidSocket || sockets::Connect(s, address, port, ConnectLimitMs) != 0) {
    if (s != sockets::InvalidSocket) sockets::Close(s);
    StopHosting();
    return -1;
  }
  return StartMember(s);
}

void NetRoom::CloseRoom() {
  StopHosting();
  if (memberThread_) {
    memberThread_->Stop();  // the thread closes its descriptor as it ends
  } else if (memberSocket_ != sockets::InvalidSocket) {
    sockets::Close(memberSocket_);
  }
  if (writer_ && memberLine_ != WireWriter::NoLine) writer_->Close(memberLine_, true);
  memberLine_ = WireWriter::NoLine;
  memberThread_.clear();
  memberSocket_ = sockets::InvalidSocket;
}

int NetRoom::SendRecord(TNetRecord record) {
  if (record.Kind() < mkUserList) record.SetName(userName_);
  if (record.Kind() == mkPrivate) record.SetNumber(view_ ? view_->PrivateAddressee() : -1);
  if (memberLine_ != WireWriter::NoLine) Writer().Send(memberLine_, record.data(), TNetRecord::Size);
  return 0;
}

int NetRoom::SendPicture(int side) {
  if (!view_ || side < 1 || side > 2) return 0;
  for (const TNetRecord& part : PictureRecords(side, view_->FacePicture(side))) SendRecord(part);
  return 0;
}

int NetRoom::SendLeave() {
  if (memberLine_ == WireWriter::NoLine) return -1;
  TNetRecord r;
  r.SetKind(mkLeave);
  r.SetName(userName_);
  Writer().Send(memberLine_, r.data(), TNetRecord::Size);
  return 0;
}

void NetRoom::PauseSending(int ms) {
  if (memberLine_ != WireWriter::NoLine) Writer().Pause(memberLine_, ms);
}
