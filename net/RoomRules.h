#pragma once
// A member's reading of what the room sends: the decisions behind the windows' changes, kept
// apart from the widgets so they can be checked without a window.
#include <QStringList>

#include <array>
#include <cstdint>

#include "game/Rev.h"
#include "net/NetRecord.h"

// The six record counters in wire order: total games, wins, losses, network games, wins, losses.
using RecordCounters = std::array<std::int32_t, 6>;

// An invitation to play: this machine takes `side` (1 first, 2 second) as Local and the other
// side is Net. Arg 0 invites to the first side; any other value to the second.
struct Invitation {
  int side;
  PlayerKind first;
  PlayerKind second;
};
Invitation InvitationOf(const TNetRecord& invite);
// The host's invitation to the member at a table position to play side 1 or 2 (Arg 0 or 1).
TNetRecord InviteRecord(std::uint16_t position, int side);

// The answer to a statistics request: addressed to the requester the host named in Arg.
TNetRecord StatsReplyFor(const TNetRecord& request, const RecordCounters& counters);
RecordCounters StatsOf(const TNetRecord& reply);

// The one-move gsMoves record a click or an engine puts on the wire.
TNetRecord OneMoveRecord(const _Rev& move);

// The user-list row a leave removes: the first row after "All" whose text equals the name,
// letter case ignored; -1 when there is none. Row 0 is never a user, whatever a user is called.
int LeavingRow(const QStringList& rows, const QString& name);
