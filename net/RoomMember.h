#pragma once
#include <QString>

#include <functional>
#include <memory>

#include "net/NetRecord.h"
#include "net/Sockets.h"
#include "net/WireWriter.h"

class CliRcvThread;
class RoomView;

// This machine's one connection to the host of a room, the host's own included: it joins on
// a connection already made, sends through the room's writer and hands what the host relays to
// the view. On the main thread; sending only queues.
class RoomMember {
 public:
  // handled: after each record from the host has been handled (the host counts its own).
  RoomMember(WireWriter& writer, RoomView* view, sockets::Socket socket, const QString& userName,
             std::function<void()> handled = {});
  ~RoomMember();  // what is still queued (the leave) goes out; the thread is stopped
  RoomMember(const RoomMember&) = delete;
  RoomMember& operator=(const RoomMember&) = delete;

  // Queues one record, adding the user name to chat and private lines and the addressee to
  // private lines; always 0.
  int SendRecord(TNetRecord record);
  // Sends the face picture of side 1 or 2 to everyone; always 0.
  int SendPicture(int side);
  // The leave record with the user name; 0, or -1 without a connection.
  int SendLeave();
  // A delay on the connection: what is sent next goes out ms later.
  void PauseSending(int ms);

  sockets::Socket Socket() const { return socket_; }
  bool Connected() const { return line_ != WireWriter::NoLine; }

 private:
  void Lost();

  WireWriter& writer_;
  RoomView* view_;
  QString userName_;
  sockets::Socket socket_;
  WireWriter::Line line_;
  std::unique_ptr<CliRcvThread> thread_;
};
