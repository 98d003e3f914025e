// The host's half of the room: the table of connections and the relay.
#include <algorithm>

#include "net/NetRoom.h"
#include "net/RoomView.h"
#include "net/ServRecv.h"
#include "net/ServSock.h"

TNetRecord NetRoom::NameTakenNotice() { return ServerNotice(QStringLiteral("同じ名前のユーザーが既に入室しています")); }

void NetRoom::StopHosting() {
  if (listener_) listener_->Stop();
  listener_.clear();
  for (const auto& c : clients_) {
    if (c->thread) c->thread->Stop();
    if (writer_) writer_->Close(c->line, false);
  }
  clients_.clear();
  const bool hadUsers = !joined_.empty();
  joined_.clear();
  hosting_ = false;
  if (hadUsers && hooks_.usersChanged) hooks_.usersChanged();
}

NetRoom::Client* NetRoom::ByNumber(int clientNumber) {
  for (const auto& c : clients_)
    if (c->number == clientNumber) return c.get();
  return nullptr;
}

NetRoom::Client* NetRoom::AtPosition(long long position) {
  if (position < 0 || position >= static_cast<long long>(joined_.size())) return nullptr;
  return ByNumber(joined_[static_cast<std::size_t>(position)]);
}

QList<int> NetRoom::ClientNumbers() const { return QList<int>(joined_.begin(), joined_.end()); }

QStringList NetRoom::UserNames() const {
  QStringList out;
  for (const int n : joined_)
    for (const auto& c : clients_)
      if (c->number == n) out << c->shownName;
  return out;
}

bool NetRoom::AddClient(sockets::Socket socket) {
  if (!hosting_) return false;
  int number = 0;
  while (number < MaxClients && ByNumber(number)) ++number;
  if (number >= MaxClients) return false;  // the room is full: the listener closes the socket
  sockets::SetSendBuffer(socket, ClientSendBuffer);
  auto* thread = new ServRcvThread(socket, number,
                                   ServRcvThread::Handlers{
                                       [this](TNetRecord& r, int n) { return HandleHostRecord(r, n); },
                                       [this](int n) { RemoveClient(n); },
                                       [this](int n) { ClientLost(n); },
                                       [this](const std::function<void()>& handle) { RunBatch(handle); },
                                   });
  auto client = std::make_unique<Client>();
  client->number = number;
  client->thread = thread;
  client->line = Writer().Open(socket);
  clients_.push_back(std::move(client));
  thread->Launch();  // only now: its first record must find its sender in the table
  return true;
}

void NetRoom::RemoveClient(int clientNumber) {
  const auto it = std::find_if(clients_.begin(), clients_.end(), [&](const auto& c) { return c->number == clientNumber; });
  if (it == clients_.end()) return;
  Client& c = **it;
  // Always from inside a procedure the connection's own thread handed over, so its socket is
  // still open; once stopped, nothing it hands over later can reach a newcomer with its number.
  if (c.thread) c.thread->Stop();
  // What is queued for it (its own leave notice) still goes out; then the connection ends.
  Writer().Close(c.line, true);
  const bool wasJoined = c.joined;
  joined_.erase(std::remove(joined_.begin(), joined_.end(), clientNumber), joined_.end());
  clients_.erase(it);
  if (wasJoined && hooks_.usersChanged) hooks_.usersChanged();
}

void NetRoom::ClientLost(int clientNumber) {
  Client* c = ByNumber(clientNumber);
  if (!c) return;
  if (c->joined) {
    // Told as if it had left, under the name it joined with; it no longer receives anything.
    TNetRecord r;
    r.SetKind(mkLeave);
    r.SetNameBytes(c->name);
    r.SetTextBytes(LeaveNoticeText(c->name));
    TellLeft(r, *c);
  }
  RemoveClient(clientNumber);
}

void NetRoom::SendTo(const Client& client, const TNetRecord& record) {
  Writer().Send(client.line, record.data(), TNetRecord::Size);
}

void NetRoom::Relay(const TNetRecord& record) {
  for (const int n : joined_)
    if (const Client* c = ByNumber(n)) SendTo(*c, record);
}

void NetRoom::RunBatch(const std::function<void()>& handle) {
  // What a batch of records causes goes to the writer in one piece.
  Writer().Hold();
  handle();
  Writer().Release();
}

int NetRoom::Join(TNetRecord& record, Client& sender) {
  if (sender.joined) return -1;  // a connection joins once
  const QString name = record.Name();
  // Names are compared as every member's list compares them on a leave: letter case ignored.
  for (const int n : joined_) {
    const Client* other = ByNumber(n);
    if (other && other->shownName.compare(name, Qt::CaseInsensitive) == 0) {
      SendTo(sender, NameTakenNotice());
      RemoveClient(sender.number);
      return -1;
    }
  }
  record.SetNumber(sender.number);
  record.SetTextBytes(JoinNoticeText(record.NameBytes()));
  sender.joined = true;
  sender.name = record.NameBytes();
  sender.shownName = name;
  joined_.push_back(sender.number);
  if (hooks_.usersChanged) hooks_.usersChanged();
  Relay(record);
  return 0;
}

void NetRoom::TellLeft(TNetRecord& record, Client& leaver) {
  record.SetNumber(leaver.number);
  joined_.erase(std::remove(joined_.begin(), joined_.end(), leaver.number), joined_.end());
  leaver.joined = false;
  if (hooks_.usersChanged) hooks_.usersChanged();
  if (view_) view_->MemberLeft(leaver.number);
  Relay(record);
}

int NetRoom::Leave(TNetRecord& record, Client& sender) {
  // Only a member's own leave counts; the genuine one always carries its name.
  if (!sender.joined || sender.shownName.compare(record.Name(), Qt::CaseInsensitive) != 0) return -1;
  TellLeft(record, sender);
  SendTo(sender, record);  // the leaver hears it too, before its connection closes
  return 0;
}

int NetRoom::HandleHostRecord(TNetRecord& record, int clientNumber) {
  if (!hosting_) return -1;
  Client* sender = ByNumber(clientNumber);
  if (!sender) return -1;

  switch (record.Kind()) {
    case mkPrivate: {
      const Client* to = AtPosition(record.Number());
      if (!to) return -1;
      record.SetKind(mkChat);
      record.SetTextBytes(PrivateLineText(record.TextBytes()));
      SendTo(*to, record);
      if (to != sender) SendTo(*sender, record);
      return 0;
    }
    case mkJoin:
      return Join(record, *sender);
    case mkChat:
      record.SetNumber(clientNumber);
      Relay(record);
      return 0;
    case mkUserList:
      for (std::size_t i = 0; i < joined_.size(); ++i) {
        const Client* c = ByNumber(joined_[i]);
        if (!c) continue;
        record.SetNumber(static_cast<std::int32_t>(i));
        record.SetTextBytes(field::UserListName, c->name);
        SendTo(*sender, record);
      }
      return 0;
    case mkGameState:
      SendStateAnswer(*sender);
      return 0;
    case mkGame:
      return ForwardGame(record, clientNumber);
    case mkPlayerNames:
    case mkPicture:
      if (record.To() == TNetRecord::Everyone) {
        Relay(record);
        return 0;
      }
      if (const Client* to = AtPosition(record.To())) {
        SendTo(*to, record);
        return 0;
      }
      return -1;
    case mkLeave:
      return Leave(record, *sender);
    case 1:
      return 0;  // nothing in the program sends it; passed on to nobody
    default:
      Relay(record);
      return 0;
  }
}

int NetRoom::ForwardGame(TNetRecord& record, int clientNumber) {
  const Client* to = nullptr;
  switch (record.Sub()) {
    case gsMoves:
      // No member may be asked to read more entries than a record holds.
      record.SetArg(static_cast<std::uint16_t>(record.MoveCount()));
      Relay(record);
      return 0;
    case gsStatsRequest:
      // The requester is named by its client number, which stays its own while positions shift.
      record.SetArg(static_cast<std::uint16_t>(clientNumber));
      to = AtPosition(record.To());
      break;
    case gsInvite:
      to = AtPosition(record.To());
      break;
    case gsStatsReply:
      // To carries the requester's client number, copied from the request's Arg.
      to = ByNumber(record.To());
      break;
    default:
      Relay(record);
      return 0;
  }
  if (!to) return -1;
  SendTo(*to, record);
  return 0;
}

void NetRoom::SendStateAnswer(const Client& requester) {
  // The pauses are the requester's alone: they wait in its queue, and everyone else's records
  // go on meanwhile.
  std::vector<_Rev> list = view_ ? view_->Placements() : std::vector<_Rev>{};
  for (const TNetRecord& run : MoveRunRecords(list.data(), static_cast<int>(list.size()))) SendTo(requester, run);
  Writer().Pause(requester.line, StatePauseMs);

  TNetRecord names;
  names.SetKind(mkPlayerNames);
  names.SetTo(static_cast<std::uint16_t>(requester.number));
  names.SetSub(1);
  if (view_) {
    names.SetBlackName(view_->PlayerName(1));
    names.SetWhiteName(view_->PlayerName(2));
  }
  SendTo(requester, names);

  for (const int side : {1, 2}) {
    Writer().Pause(requester.line, StatePauseMs);
    if (!view_) continue;
    for (const TNetRecord& part : PictureRecords(side, view_->FacePicture(side))) SendTo(requester, part);
  }
}
