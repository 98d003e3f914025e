#include "gamelog/GameRecord.h"

#include "gamelog/Replay.h"

namespace gamelog {

Position Position::Standard() {
  Position p;
  p.cells[3 * 8 + 3] = 2;  // d4
  p.cells[3 * 8 + 4] = 1;  // e4
  p.cells[4 * 8 + 3] = 1;  // d5
  p.cells[4 * 8 + 4] = 2;  // e5
  return p;
}

int Position::Count(int side) const {
  int n = 0;
  for (const std::int8_t cell : cells) n += cell == side;
  return n;
}

Position GameRecord::Final() const {
  Replay replay(start);
  for (const Move& move : moves)
    if (!replay.Play(move)) break;  // records are replayed when read, so this does not happen
  return replay.Current();
}

QString MoveText(const Move& move) {
  if (move.IsPass()) return QStringLiteral("pass");
  return QString(QChar(u'a' + move.x)) + QString::number(move.y + 1);
}

}  // namespace gamelog
