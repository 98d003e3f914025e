#pragma once
#include <QByteArray>
#include <QString>

class TNetRecord;

// What the socket form needs from the windows. The game screen implements it; the socket form
// only holds a pointer and works without one (nothing shown, no names, no pictures).
class RoomView {
 public:
  virtual ~RoomView() = default;

  // A member's handling of one received record in the windows and on the board: the user
  // list, moves (NetGet), invitations, resets, statistics, names and pictures. The log line
  // of a join, chat or leave is written by the socket form itself, after this.
  virtual void ApplyRecord(const TNetRecord& record) = 0;

  // The table position a private line goes to: the selected row of the user list minus one.
  virtual int PrivateAddressee() const = 0;

  // The name shown for a side (0 first/black, 1 second/white), for the host's answer to a newcomer.
  virtual QString PlayerName(int side) const = 0;

  // A side's face picture as bitmap file bytes; empty when there is none.
  virtual QByteArray FacePicture(int side) const = 0;
};
