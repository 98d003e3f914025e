#pragma once
#include <QObject>

#include "net/NetRecord.h"
#include "net/RoomView.h"

class TfrmData;
class TfrmGamen;
class TfrmSocket;
class TImage;

// The game screen's side of the network room: what a received record changes in the windows
// and on the board, and what the room reads from the windows. Owned by the game screen.
class TGamenRoom : public QObject, public RoomView {
 public:
  // chara: the user's own character picture (the dialog's); data: the statistics window.
  // Either may be null; then invitations show no face and replies are not shown.
  TGamenRoom(TfrmGamen& gamen, TfrmSocket& socket, const TImage* chara, TfrmData* data);

  void ApplyRecord(const TNetRecord& record) override;
  int PrivateAddressee() const override;
  std::vector<_Rev> Placements() const override;
  void MemberLeft(int clientNumber) override;
  void HostLost() override;
  QString PlayerName(int side) const override;
  QByteArray FacePicture(int side) const override;

  TfrmSocket& Socket() const { return socket_; }

 private:
  void ApplyGame(const TNetRecord& record);
  void Invite(const TNetRecord& record);
  void Reset();
  void AnswerStats(const TNetRecord& request);
  void TakePicture(const TNetRecord& record);
  void Leave(const TNetRecord& record);
  TImage* Face(int side) const;  // side 1 or 2

  TfrmGamen& gamen_;
  TfrmSocket& socket_;
  const TImage* chara_;
  TfrmData* data_;
  PictureReceiver pictures_;
};

// Joins the game screen to the room: the socket form hands it every record, and the turn flow's
// moves in a network game go out through that socket form, as does the reset after a failed
// engine on the host. Answers the room view, which the game screen owns.
TGamenRoom* AttachRoom(TfrmGamen& gamen, TfrmSocket& socket, const TImage* chara, TfrmData* data);

// The chat view's own line for a move the room relayed that the rules refuse.
QString IgnoredMoveLine(const _Rev& move);
