#include "screens/GamenRoom.h"

#include <QLabel>
#include <QListWidget>
#include <QStringList>

#include <algorithm>

#include "screens/TurnFlow.h"
#include "game/CellName.h"
#include "game/Game.h"
#include "net/FacePicture.h"
#include "net/RoomRules.h"
#include "net/Socket.h"
#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/Image.h"
#include "settings/SaveRecord.h"

TGamenRoom::TGamenRoom(TfrmGamen& gamen, TfrmSocket& socket, const TImage* chara, TfrmData* data)
    : QObject(&gamen), gamen_(gamen), socket_(socket), chara_(chara), data_(data) {}

QString IgnoredMoveLine(const _Rev& move) {
  return QStringLiteral("不正な手を受け取ったので無視しました（%1）").arg(QString::fromStdString(CellName(move.x, move.y)));
}

TGamenRoom* AttachRoom(TfrmGamen& gamen, TfrmSocket& socket, const TImage* chara, TfrmData* data) {
  auto* room = new TGamenRoom(gamen, socket, chara, data);
  socket.SetRoomView(room);
  gamen.Room = room;
  TfrmSocket* to = &socket;
  TfrmGamen* screen = &gamen;
  gamen.Flow->OnSendMove = [to](const _Rev& move) { to->SendRecord(OneMoveRecord(move)); };
  // Every member that runs this program refuses the same move, so the boards stay equal.
  gamen.Flow->OnIgnoredMove = [to](const _Rev& move) { to->AppendLogLine(IgnoredMoveLine(move)); };
  // The host's engine failed: every board in the room goes back to waiting, as after 再ゲーム.
  gamen.Flow->OnEngineFailed = [screen] {
    if (screen->SetsUpGames()) screen->StartRoomAgain();
  };
  return room;
}

TImage* TGamenRoom::Face(int side) const { return side == 1 ? gamen_.imKuroFace : gamen_.imShiroKoma; }

void TGamenRoom::ApplyRecord(const TNetRecord& record) {
  QListWidget* users = gamen_.lbPeaple;
  switch (record.Kind()) {
    case mkJoin:
      users->addItem(record.Name());
      break;
    case mkUserList:
      if (record.Number() == 0) {
        users->clear();
        users->addItem(QStringLiteral("All"));
        users->setCurrentRow(0);
      }
      users->addItem(record.UserListName());
      break;
    case mkGame:
      ApplyGame(record);
      break;
    case mkPlayerNames:
      if (record.Sub() != 1) break;
      gamen_.lbKuroName->setText(record.BlackName());
      gamen_.lbShiroKoma->setText(record.WhiteName());
      break;
    case mkPicture:
      TakePicture(record);
      break;
    case mkLeave:
      Leave(record);
      break;
    default:
      break;  // chat lines are written by the socket form; unknown kinds change nothing
  }
}

void TGamenRoom::ApplyGame(const TNetRecord& record) {
  switch (record.Sub()) {
    case gsMoves:
      // A move may open a pass or result box, inside which further records are handled;
      // the list is this record's own copy, so it stays as it came.
      for (const _Rev& move : record.Moves()) gamen_.Flow->NetGet(move);
      break;
    case gsInvite:
      Invite(record);
      break;
    case gsReset:
      Reset();
      break;
    case gsStatsRequest:
      AnswerStats(record);
      break;
    case gsStatsReply:
      if (data_) data_->Fill(StatsOf(record));
      break;
    default:
      break;
  }
}

void TGamenRoom::Invite(const TNetRecord& record) {
  const Invitation invitation = InvitationOf(record);
  if (chara_) Face(invitation.side)->Assign(*chara_);
  socket_.SendPicture(invitation.side);
  gamen_.Played().SetWho(static_cast<int>(invitation.first), static_cast<int>(invitation.second));
  gamen_.Flow->GameShori();
}

void TGamenRoom::Reset() {
  // The host returned to waiting itself before it sent the record, and may have set the next
  // match up by the time its own record comes back: that one must not be wiped.
  if (gamen_.SetsUpGames()) return;
  gamen_.ReturnToWaiting();
}

void TGamenRoom::AnswerStats(const TNetRecord& request) {
  const ::SaveRecord& r = gamen_.SaveRecord;
  socket_.SendRecord(StatsReplyFor(request, {r.SouNum, r.SouWin, r.SouLose, r.NetNum, r.NetWin, r.NetLose}));
}

void TGamenRoom::TakePicture(const TNetRecord& record) {
  int side = 0;
  QByteArray bytes;
  if (!pictures_.Take(record, side, bytes)) return;
  // What is not a bitmap is dropped; the face stays as it was.
  if (const std::optional<QImage> picture = PictureFromBytes(bytes)) Face(side)->SetPicture(*picture);
}

void TGamenRoom::Leave(const TNetRecord& record) {
  QListWidget* users = gamen_.lbPeaple;
  QStringList rows;
  for (int i = 0; i < users->count(); ++i) rows << users->item(i)->text();
  const int row = LeavingRow(rows, record.Name());
  if (row < 0) return;
  if (users->currentRow() == row) users->setCurrentRow(0);
  delete users->takeItem(row);
}

int TGamenRoom::PrivateAddressee() const { return gamen_.lbPeaple->currentRow() - 1; }

std::vector<_Rev> TGamenRoom::Placements() const { return gamen_.Played().Placements(); }

void TGamenRoom::MemberLeft(int clientNumber) {
  // A player of the running game has gone: the game stops midway and the host's user may start
  // a new one.
  if (clientNumber != gamen_.NetUser1 && clientNumber != gamen_.NetUser2) return;
  gamen_.Played().Stop();
  gamen_.Flow->GameShori();
}

void TGamenRoom::HostLost() {
  // Nobody is in a room whose host has gone.
  gamen_.lbPeaple->clear();
  gamen_.lbPeaple->addItem(QStringLiteral("All"));
  gamen_.lbPeaple->setCurrentRow(0);
}

QString TGamenRoom::PlayerName(int side) const {
  return side == 1 ? gamen_.lbKuroName->text() : gamen_.lbShiroKoma->text();
}

QByteArray TGamenRoom::FacePicture(int side) const {
  if (side != 1 && side != 2) return {};
  return BitmapBytes(Face(side)->Picture());
}
