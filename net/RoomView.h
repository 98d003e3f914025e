#pragma once
#include <QByteArray>
#include <QString>

#include <vector>

#include "game/Rev.h"

class TNetRecord;

// What the room needs from the windows and the board. The game screen implements it; the room
// only holds a pointer and works without one (nothing shown, no names, no pictures, no moves).
class RoomView {
 public:
  virtual ~RoomView() = default;

  // A member's handling of one received record in the windows and on the board: the user
  // list, moves (NetGet), invitations, resets, statistics, names and pictures. The log line
  // of a join, chat or leave is written by the socket form itself, after this.
  virtual void ApplyRecord(const TNetRecord& record) = 0;

  // The table position a private line goes to: the selected row of the user list minus one.
  virtual int PrivateAddressee() const = 0;

  // What the host tells a newcomer: the board's placement list (the four starting stones
  // first), the name shown for a side (1 first/black, 2 second/white) and its face picture as
  // bitmap file bytes (empty when there is none).
  virtual std::vector<_Rev> Placements() const { return {}; }
  virtual QString PlayerName(int side) const = 0;
  virtual QByteArray FacePicture(int side) const = 0;

  // Host: the member with this client number has left the room or was lost. When it plays
  // the running game, that game is over.
  virtual void MemberLeft(int clientNumber) { (void)clientNumber; }
};
