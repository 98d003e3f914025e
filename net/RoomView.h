#pragma once
#include <QByteArray>
#include <QString>

#include <vector>

#include "game/Rev.h"

class TNetRecord;

// How the room reports upward and what it asks: the one observer of the member connection and
// of the host. The socket form implements it for the windows and hands the game screen's part
// on to the game screen, which implements it too; tests implement it without any window. The
// room works without one (nothing shown, no names, no pictures, no moves).
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

  // Host: the joined users changed (the socket form's hidden list shows them).
  virtual void UsersChanged() {}
  // Member: the host is gone (after the notice saying so): nobody is in the room any more.
  virtual void HostLost() {}
  // A line of the program's own for the chat view: where the room can be reached.
  virtual void RoomLine(const QString& line) { (void)line; }
};
