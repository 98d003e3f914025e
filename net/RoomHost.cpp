#include "net/RoomHost.h"

#include <algorithm>

#include "net/RoomView.h"
#include "net/ServRecv.h"
#include "net/ServSock.h"
#include "platform/Codec.h"

TNetRecord RoomHost::NameTakenNotice() { return ServerNotice(QStringLiteral("同じ名前のユーザーが既に入室しています")); }
TNetRecord RoomHost::NameRefusedNotice() { return ServerNotice(QStringLiteral("この名前では入室できません")); }

RoomHost::RoomHost(WireWriter& writer, RoomView* view, sockets::Socket listening) : writer_(writer), view_(view) {
  listener_ = std::make_unique<TSockThread>(listening, [this](sockets::Socket s) { return AddClient(s); });
}

RoomHost::~RoomHost() {
  if (listener_) listener_->Stop();
  for (const auto& [number, c] : clients_) {
    if (c->thread) c->thread->Stop();
    writer_.Close(c->line, false);
  }
  const bool hadUsers = !joined_.empty();
  joined_.clear();
  clients_.clear();
  if (hadUsers) UsersChanged();
}

void RoomHost::UsersChanged() {
  if (view_) view_->UsersChanged();
}

RoomHost::Client* RoomHost::ByNumber(int clientNumber) const {
  const auto it = clients_.find(clientNumber);
  return it == clients_.end() ? nullptr : it->second.get();
}

RoomHost::Client* RoomHost::AtPosition(long long position) const {
  if (position < 0 || position >= static_cast<long long>(joined_.size())) return nullptr;
  return joined_[static_cast<std::size_t>(position)];
}

QList<int> RoomHost::ClientNumbers() const {
  QList<int> out;
  for (const Client* c : joined_) out << c->number;
  return out;
}

QStringList RoomHost::UserNames() const {
  QStringList out;
  for (const Client* c : joined_) out << c->shownName;
  return out;
}

void RoomHost::SetOwnConnection(const sockets::Endpoint& memberEnd) {
  ownEnd_ = memberEnd;
  for (const auto& [number, c] : clients_)
    if (c->peer == ownEnd_) MarkOwn(*c);
}

void RoomHost::MarkOwn(Client& client) {
  client.own = true;
  writer_.Trust(client.line);
}

void RoomHost::OwnRecordHandled() {
  if (ownBacklog_.empty()) return;
  const int origin = ownBacklog_.front();
  ownBacklog_.pop_front();
  if (const Client* c = ByNumber(origin)) c->gate->Release(1);
}

bool RoomHost::AddClient(sockets::Socket socket) {
  const int number = freed_.empty() ? nextNumber_ : *freed_.begin();
  if (number >= MaxClients) return false;  // the room is full: the listener closes the socket
  if (freed_.empty()) ++nextNumber_;
  else freed_.erase(freed_.begin());
  sockets::SetSendBuffer(socket, ClientSendBuffer);
  auto client = std::make_unique<Client>();
  client->number = number;
  client->gate = std::make_shared<ReadGate>(OwnBacklogLimit);
  client->line = writer_.Open(socket);
  client->peer = sockets::PeerEndpoint(socket);
  if (ownEnd_ && client->peer == ownEnd_) MarkOwn(*client);
  Client& added = *clients_.emplace(number, std::move(client)).first->second;
  // Started only now: its first record must find its sender in the table.
  added.thread = std::make_unique<ServRcvThread>(socket, number, added.gate,
                                                 ServRcvThread::Handlers{
                                                     [this](TNetRecord& r, int n) { return HandleHostRecord(r, n); },
                                                     [this](int n) { RemoveClient(n); },
                                                     [this](int n) { ClientLost(n); },
                                                     [this](const std::function<void()>& handle) { RunBatch(handle); },
                                                 });
  return true;
}

void RoomHost::RemoveClient(int clientNumber) {
  const auto it = clients_.find(clientNumber);
  if (it == clients_.end()) return;
  Client& c = *it->second;
  // Always from inside a procedure the connection's own thread handed over, so its socket is
  // still open; once stopped, nothing it hands over later can reach a newcomer with its number.
  if (c.thread) c.thread->Stop();
  // What is queued for it (its own leave notice) still goes out; then the connection ends.
  writer_.Close(c.line, true);
  const bool wasJoined = c.joined;
  if (c.own) {
    // Nobody is behind any more: every member is read again.
    for (const int origin : ownBacklog_)
      if (const Client* from = ByNumber(origin)) from->gate->Release(1);
    ownBacklog_.clear();
  }
  joined_.erase(std::remove(joined_.begin(), joined_.end(), &c), joined_.end());
  clients_.erase(it);
  if (clientNumber == nextNumber_ - 1) --nextNumber_;
  else freed_.insert(clientNumber);
  while (!freed_.empty() && *freed_.rbegin() == nextNumber_ - 1) {
    freed_.erase(std::prev(freed_.end()));
    --nextNumber_;
  }
  if (wasJoined) UsersChanged();
}

void RoomHost::ClientLost(int clientNumber) {
  Client* c = ByNumber(clientNumber);
  if (!c) return;
  if (c->joined) {
    // Told as if it had left, under the name it joined with; it no longer receives anything.
    TNetRecord r;
    r.SetKind(mkLeave);
    r.SetNameBytes(c->name);
    r.SetTextBytes(LeaveNoticeText(c->name));
    origin_ = -1;
    TellLeft(r, *c);
  }
  RemoveClient(clientNumber);
}

void RoomHost::SendTo(const Client& client, const TNetRecord& record) {
  if (client.own) {
    ownBacklog_.push_back(origin_);
    if (const Client* from = ByNumber(origin_)) from->gate->Hold(1);
  }
  writer_.Send(client.line, record.data(), TNetRecord::Size);
}

void RoomHost::Relay(const TNetRecord& record) {
  for (const Client* c : joined_) SendTo(*c, record);
}

void RoomHost::RunBatch(const std::function<void()>& handle) {
  // What a batch of records causes goes to the writer in one piece.
  writer_.Hold();
  handle();
  writer_.Release();
}

void RoomHost::Refuse(Client& sender, const TNetRecord& notice) {
  SendTo(sender, notice);
  RemoveClient(sender.number);
}

int RoomHost::Join(TNetRecord& record, Client& sender) {
  if (sender.joined) return -1;  // a connection joins once
  // Every member's list shows the name and compares it on a leave: it must be text.
  if (!platform::IsCp932Text(record.NameBytes())) {
    Refuse(sender, NameRefusedNotice());
    return -1;
  }
  const QString name = record.Name();
  // Names are compared as every member's list compares them on a leave: letter case ignored.
  for (const Client* other : joined_) {
    if (other->shownName.compare(name, Qt::CaseInsensitive) == 0) {
      Refuse(sender, NameTakenNotice());
      return -1;
    }
  }
  record.SetNumber(sender.number);
  record.SetTextBytes(JoinNoticeText(record.NameBytes()));
  sender.joined = true;
  sender.name = record.NameBytes();
  sender.shownName = name;
  joined_.push_back(&sender);
  UsersChanged();
  Relay(record);
  return 0;
}

void RoomHost::TellLeft(TNetRecord& record, Client& leaver) {
  record.SetNumber(leaver.number);
  joined_.erase(std::remove(joined_.begin(), joined_.end(), &leaver), joined_.end());
  leaver.joined = false;
  UsersChanged();
  if (view_) view_->MemberLeft(leaver.number);
  Relay(record);
}

int RoomHost::Leave(TNetRecord& record, Client& sender) {
  // Only a member's own leave counts; the genuine one always carries its name.
  if (!sender.joined || sender.shownName.compare(record.Name(), Qt::CaseInsensitive) != 0) return -1;
  TellLeft(record, sender);
  SendTo(sender, record);  // the leaver hears it too, before its connection closes
  return 0;
}

int RoomHost::HandleHostRecord(TNetRecord& record, int clientNumber) {
  Client* sender = ByNumber(clientNumber);
  if (!sender) return -1;
  origin_ = clientNumber;

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
        record.SetNumber(static_cast<std::int32_t>(i));
        record.SetTextBytes(field::UserListName, joined_[i]->name);
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

int RoomHost::ForwardGame(TNetRecord& record, int clientNumber) {
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

void RoomHost::SendStateAnswer(const Client& requester) {
  // The pauses are the requester's alone: they wait in its queue, and everyone else's records
  // go on meanwhile.
  std::vector<_Rev> list = view_ ? view_->Placements() : std::vector<_Rev>{};
  for (const TNetRecord& run : MoveRunRecords(list.data(), static_cast<int>(list.size()))) SendTo(requester, run);
  writer_.Pause(requester.line, StatePauseMs);

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
    writer_.Pause(requester.line, StatePauseMs);
    if (!view_) continue;
    for (const TNetRecord& part : PictureRecords(side, view_->FacePicture(side))) SendTo(requester, part);
  }
}
