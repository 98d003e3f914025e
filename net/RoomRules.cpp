#include "net/RoomRules.h"

Invitation InvitationOf(const TNetRecord& invite) {
  if (invite.Arg() == 0) return {1, PlayerKind::Local, PlayerKind::Net};
  return {2, PlayerKind::Net, PlayerKind::Local};
}

TNetRecord InviteRecord(std::uint16_t position, int side) {
  TNetRecord invite;
  invite.SetKind(mkGame);
  invite.SetSub(gsInvite);
  invite.SetTo(position);
  invite.SetArg(static_cast<std::uint16_t>(side - 1));
  return invite;
}

TNetRecord StatsReplyFor(const TNetRecord& request, const RecordCounters& counters) {
  TNetRecord reply;
  reply.SetKind(mkGame);
  reply.SetSub(gsStatsReply);
  reply.SetTo(request.Arg());
  for (int i = 0; i < TNetRecord::StatCount; ++i)
    reply.SetStatValue(static_cast<TNetRecord::Stat>(i), counters[static_cast<std::size_t>(i)]);
  return reply;
}

RecordCounters StatsOf(const TNetRecord& reply) {
  RecordCounters out{};
  for (int i = 0; i < TNetRecord::StatCount; ++i)
    out[static_cast<std::size_t>(i)] = reply.StatValue(static_cast<TNetRecord::Stat>(i));
  return out;
}

TNetRecord OneMoveRecord(const _Rev& move) {
  TNetRecord r;
  r.SetKind(mkGame);
  r.SetSub(gsMoves);
  r.SetArg(1);
  r.SetMove(0, move);
  return r;
}

int LeavingRow(const QStringList& rows, const QString& name) {
  for (qsizetype i = 1; i < rows.size(); ++i)
    if (rows[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}
