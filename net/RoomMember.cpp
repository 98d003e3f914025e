#include "net/RoomMember.h"

#include "net/CliRecv.h"
#include "net/RoomView.h"

RoomMember::RoomMember(WireWriter& writer, RoomView* view, sockets::Socket socket, const QString& userName,
                       std::function<void()> handled)
    : writer_(writer), view_(view), userName_(userName), socket_(socket), line_(writer.Open(socket)) {
  thread_ = std::make_unique<CliRcvThread>(socket, CliRcvThread::Handlers{
                                                      [this, handled](const TNetRecord& r) {
                                                        if (view_) view_->ApplyRecord(r);
                                                        if (handled) handled();
                                                      },
                                                      [this] { Lost(); },
                                                  });
  TNetRecord join;
  join.SetKind(mkJoin);
  join.SetName(userName_);
  join.SetJoinHandle(static_cast<std::uint32_t>(socket));
  writer_.Send(line_, join.data(), TNetRecord::Size);
}

RoomMember::~RoomMember() {
  thread_->Stop();  // the thread closes its descriptor as it ends
  if (line_ != WireWriter::NoLine) writer_.Close(line_, true);
}

void RoomMember::Lost() {
  // The host is gone: later sends go nowhere, and nobody is in the room any more.
  thread_->CloseSocket();
  writer_.Close(line_, false);
  line_ = WireWriter::NoLine;
  socket_ = sockets::InvalidSocket;
  if (view_) view_->HostLost();
}

int RoomMember::SendRecord(TNetRecord record) {
  if (record.Kind() < mkUserList) record.SetName(userName_);
  if (record.Kind() == mkPrivate) record.SetNumber(view_ ? view_->PrivateAddressee() : -1);
  if (line_ != WireWriter::NoLine) writer_.Send(line_, record.data(), TNetRecord::Size);
  return 0;
}

int RoomMember::SendPicture(int side) {
  if (!view_ || side < 1 || side > 2) return 0;
  for (const TNetRecord& part : PictureRecords(side, view_->FacePicture(side))) SendRecord(part);
  return 0;
}

int RoomMember::SendLeave() {
  if (line_ == WireWriter::NoLine) return -1;
  TNetRecord r;
  r.SetKind(mkLeave);
  r.SetName(userName_);
  writer_.Send(line_, r.data(), TNetRecord::Size);
  return 0;
}

void RoomMember::PauseSending(int ms) {
  if (line_ != WireWriter::NoLine) writer_.Pause(line_, ms);
}
