// The host's half of the socket form: the client table and the relay.
#include <QListWidget>
#include <QThread>

#include <algorithm>

#include "board/IReversi.h"
#include "net/RoomView.h"
#include "net/ServRecv.h"
#include "net/ServSock.h"
#include "net/Socket.h"

namespace {
constexpr unsigned long StatePauseMs = 100;

int FirstRowNamed(const QListWidget* list, const QString& name) {
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}
}  // namespace

bool TfrmSocket::AddClient(sockets::Socket socket) {
  if (!hosting_) return false;
  FlushSends();
  int number = 0;
  while (number < MaxClients && clientNumbers_.contains(number)) ++number;
  if (number >= MaxClients) return false;  // the room is full: the listener closes the socket
  // A member that stops reading fills this buffer and is then noticed within SendLimitMs.
  sockets::SetSendBuffer(socket, 128 * 1024);
  auto* thread = new ServRcvThread(socket, number,
                                   ServRcvThread::Handlers{
                                       [this](TNetRecord& r, int n) { HandleHostRecord(r, n); },
                                       [this](int n) { RemoveClient(n); },
                                       [this](int n) { ClientLost(n); },
                                       [this](const std::function<void()>& handle) { RunBatch(handle); },
                                   });
  clientNumbers_.append(number);
  clientSockets_.append(socket);
  recvThreads_.append(thread);
  thread->Launch();  // only now: its first record must find its sender in the table
  return true;
}

void TfrmSocket::RemoveClient(int clientNumber) {
  FlushSends();  // a leaver still gets its own leave notice
  const int at = PositionOf(clientNumber);
  if (at < 0) return;
  if (recvThreads_[at]) recvThreads_[at]->CloseSocket();
  else sockets::Close(clientSockets_[at]);
  clientNumbers_.removeAt(at);
  clientSockets_.removeAt(at);
  recvThreads_.removeAt(at);
  joinedNames_.remove(clientNumber);
}

void TfrmSocket::ClientLost(int clientNumber) {
  if (PositionOf(clientNumber) < 0) return;
  const bool joined = joinedNames_.contains(clientNumber);
  const QByteArray name = joinedNames_.value(clientNumber);
  RemoveClient(clientNumber);
  if (!joined) return;  // never joined: nobody knows it, nobody is told
  // Told as if it had left, under the name it joined with; it no longer receives anything.
  TNetRecord r;
  r.SetKind(mkLeave);
  r.SetNameBytes(name);
  r.SetTextBytes(LeaveNoticeText(name));
  Leave(r, clientNumber);
}

void TfrmSocket::SendTo(int position, const TNetRecord& record) {
  if (!IsPosition(position)) return;
  if (batchDepth_ > 0) {
    if (outgoing_.size() < clientSockets_.size()) outgoing_.resize(clientSockets_.size());
    outgoing_[position].append(reinterpret_cast<const char*>(record.data()), TNetRecord::Size);
    return;
  }
  const sockets::Socket s = clientSockets_[position];
  if (sockets::SendAll(s, record.data(), TNetRecord::Size, SendLimitMs) != 0) {
    // Gone or no longer reading: its receive thread wakes and reports it lost.
    sockets::Shutdown(s);
  }
}

void TfrmSocket::RunBatch(const std::function<void()>& handle) {
  ++batchDepth_;
  handle();
  if (--batchDepth_ == 0) FlushSends();
}

void TfrmSocket::FlushSends() {
  QList<QByteArray> pending;
  pending.swap(outgoing_);
  for (qsizetype i = 0; i < pending.size() && i < clientSockets_.size(); ++i) {
    if (pending[i].isEmpty()) continue;
    const sockets::Socket s = clientSockets_[i];
    if (sockets::SendAll(s, pending[i].constData(), static_cast<std::size_t>(pending[i].size()), SendLimitMs) != 0)
      sockets::Shutdown(s);
  }
}

void TfrmSocket::Relay(const TNetRecord& record) {
  for (int i = 0; i < ClientCount(); ++i) SendTo(i, record);
}

int TfrmSocket::Leave(TNetRecord& record, int clientNumber) {
  record.SetNumber(clientNumber);
  const int row = FirstRowNamed(lbUserName, record.Name());
  if (row < 0) return -1;
  delete lbUserName->takeItem(row);
  if (board_ && (clientNumber == NetUser1 || clientNumber == NetUser2)) board_->FGameEnd = 1;
  Relay(record);
  return 0;
}

int TfrmSocket::HandleHostRecord(TNetRecord& record, int clientNumber) {
  if (!hosting_) return -1;
  const int sender = PositionOf(clientNumber);
  if (sender < 0) return -1;

  switch (record.Kind()) {
    case mkPrivate: {
      const std::int32_t to = record.Number();
      if (!IsPosition(to)) return -1;
      record.SetKind(mkChat);
      record.SetTextBytes(PrivateLineText(record.TextBytes()));
      SendTo(to, record);
      if (sender != to) SendTo(sender, record);
      return 0;
    }
    case mkJoin:
      record.SetNumber(clientNumber);
      record.SetTextBytes(JoinNoticeText(record.NameBytes()));
      lbUserName->addItem(record.Name());
      joinedNames_.insert(clientNumber, record.NameBytes());
      Relay(record);
      return 0;
    case mkChat:
      record.SetNumber(clientNumber);
      Relay(record);
      return 0;
    case mkUserList:
      for (int i = 0; i < lbUserName->count(); ++i) {
        record.SetNumber(i);
        record.SetUserListName(lbUserName->item(i)->text());
        SendTo(sender, record);
      }
      return 0;
    case mkGameState:
      SendStateAnswer(sender, clientNumber);
      return 0;
    case mkGame:
      return ForwardGame(record, clientNumber);
    case mkPlayerNames:
    case mkPicture:
      if (record.To() == TNetRecord::Everyone) {
        Relay(record);
        return 0;
      }
      if (!IsPosition(record.To())) return -1;
      SendTo(record.To(), record);
      return 0;
    case mkLeave:
      return Leave(record, clientNumber);
    case 1:
      return 0;  // nothing in the program sends it; passed on to nobody
    default:
      Relay(record);
      return 0;
  }
}

int TfrmSocket::ForwardGame(TNetRecord& record, int clientNumber) {
  switch (record.Sub()) {
    case gsMoves:
      // No member may be asked to read more entries than a record holds.
      record.SetArg(static_cast<std::uint16_t>(record.MoveCount()));
      Relay(record);
      return 0;
    case gsStatsRequest:
      // The requester is named by its client number, which stays its own while positions shift.
      record.SetArg(static_cast<std::uint16_t>(clientNumber));
      [[fallthrough]];
    case gsInvite:
      if (!IsPosition(record.To())) return -1;
      SendTo(record.To(), record);
      return 0;
    case gsStatsReply: {
      // To carries the requester's client number, copied from the request's Arg.
      const int to = PositionOf(record.To());
      if (to < 0) return -1;
      SendTo(to, record);
      return 0;
    }
    default:
      Relay(record);
      return 0;
  }
}

void TfrmSocket::SendStateAnswer(int position, int clientNumber) {
  const _Rev* list = board_ ? board_->FKomaList : nullptr;
  int count = 0;
  if (board_ && list) count = std::clamp(board_->FKomaCount, 0, board_->FCols * board_->FRows);
  for (const TNetRecord& run : MoveRunRecords(list, count)) SendTo(position, run);
  FlushSends();
  QThread::msleep(StatePauseMs);

  TNetRecord names;
  names.SetKind(mkPlayerNames);
  names.SetTo(static_cast<std::uint16_t>(clientNumber));
  names.SetSub(1);
  if (view_) {
    names.SetBlackName(view_->PlayerName(0));
    names.SetWhiteName(view_->PlayerName(1));
  }
  SendTo(position, names);

  for (std::uint16_t side = 0; side < 2; ++side) {
    FlushSends();
    QThread::msleep(StatePauseMs);
    if (!view_) continue;
    for (const TNetRecord& part : PictureRecords(side, view_->FacePicture(side))) SendTo(position, part);
  }
}
