#include "gamelog/GgfFormat.h"

#include <utility>
#include <vector>

#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"

namespace gamelog {

namespace {

constexpr char kDateFormat[] = "yyyy.MM.dd_HH:mm:ss";

const char* KindText(PlayerKind kind) {
  switch (kind) {
    case PlayerKind::Local: return "local";
    case PlayerKind::Cpu: return "engine";
    case PlayerKind::Net: return "net";
    case PlayerKind::None: break;
  }
  return "";
}

PlayerKind KindOf(QByteArrayView text) {
  if (text == "local") return PlayerKind::Local;
  if (text == "engine") return PlayerKind::Cpu;
  if (text == "net") return PlayerKind::Net;
  return PlayerKind::None;
}

QByteArray Escaped(const QString& text) {
  QByteArray out;
  for (const char c : text.toUtf8()) {
    if (c == ']' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

void Write(QByteArray& out, const char* id, const QByteArray& value) {
  out += id;
  out += '[';
  out += value;
  out += ']';
}

QByteArray BoardText(const Position& p) {
  QByteArray text = "8";
  for (int y = 0; y < 8; ++y) {
    text += ' ';
    for (int x = 0; x < 8; ++x) text += "-*O"[p.At(x, y)];
  }
  text += p.sideToMove == 2 ? " O" : " *";
  return text;
}

std::optional<Position> BoardOf(QByteArrayView text) {
  Position p;
  int cell = 0;
  std::optional<int> toMove;
  const QByteArray simple = text.toByteArray().simplified();
  if (!simple.startsWith("8 ")) return std::nullopt;
  for (const char c : simple.mid(2)) {
    if (c == ' ') continue;
    const int value = c == '-' ? 0 : c == '*' ? 1 : (c == 'O' || c == 'o') ? 2 : -1;
    if (value < 0 || toMove) return std::nullopt;
    if (cell < 64)
      p.cells[static_cast<std::size_t>(cell++)] = static_cast<std::int8_t>(value);
    else if (value != 0)
      toMove = value;
    else
      return std::nullopt;
  }
  if (cell != 64 || !toMove) return std::nullopt;
  p.sideToMove = *toMove;
  return p;
}

struct Property {
  QByteArrayView id;
  QByteArrayView value;  // as written: unescape before reading text that may hold '\' or ']'
};

// Each property of the first game, in order; false when the text is not a whole game. The
// views point into the text, so reading thousands of games makes no copies.
template <typename Fn>
bool ForEachProperty(QByteArrayView text, Fn&& fn) {
  const qsizetype open = text.indexOf("(;");
  if (open < 0) return false;
  qsizetype i = open + 2;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ';' && i + 1 < text.size() && text[i + 1] == ')') return true;
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++i;
      continue;
    }
    const qsizetype idStart = i;
    while (i < text.size() && text[i] >= 'A' && text[i] <= 'Z') ++i;
    if (i == idStart || i >= text.size() || text[i] != '[') return false;
    const qsizetype valueStart = ++i;
    while (i < text.size() && text[i] != ']') i += text[i] == '\\' ? 2 : 1;
    if (i >= text.size()) return false;
    if (!fn(Property{text.sliced(idStart, valueStart - 1 - idStart), text.sliced(valueStart, i - valueStart)})) return false;
    ++i;
  }
  return false;  // no end of game
}

QByteArray Unescaped(QByteArrayView value) {
  QByteArray out;
  out.reserve(value.size());
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    out += value[i];
  }
  return out;
}

std::optional<Move> MoveOf(int side, QByteArrayView value) {
  const qsizetype slash = value.indexOf('/');
  const QByteArrayView text = value.first(slash < 0 ? value.size() : slash).trimmed();
  if (text.compare("pa", Qt::CaseInsensitive) == 0 || text.compare("pass", Qt::CaseInsensitive) == 0)
    return Move::Pass(side);
  if (text.size() != 2) return std::nullopt;
  const char column = static_cast<char>(text[0] | 0x20);  // either case
  if (column < 'a' || column > 'h' || text[1] < '1' || text[1] > '8') return std::nullopt;
  return Move{side, column - 'a', text[1] - '1'};
}

QDateTime DateOf(QByteArrayView value) {
  bool isNumber = false;
  const qint64 seconds = value.toByteArray().toLongLong(&isNumber);
  if (isNumber) return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
  // "2026.12.08_17:44:00.UTC": read field by field and made in UTC at once, which never asks
  // the system for the local time zone. The zone after the seconds is a name such as "UTC" or
  // "EST"; only UTC is known for sure.
  int field[6] = {};
  qsizetype at = 0;
  for (int i = 0; i < 6; ++i) {
    const qsizetype digits = i == 0 ? 4 : 2;
    if (at + digits > value.size()) return {};
    bool ok = false;
    field[i] = value.sliced(at, digits).toInt(&ok);
    if (!ok) return {};
    at += digits + 1;
  }
  return QDateTime(QDate(field[0], field[1], field[2]), QTime(field[3], field[4], field[5]), Qt::UTC);
}

std::optional<GameRecord> Fail(QString* why, const QString& reason) {
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace

QByteArray WriteGgf(const GameRecord& game) {
  QByteArray out = "(;";
  Write(out, "GM", "Othello");
  Write(out, "PC", "Velmora");
  Write(out, "DT", game.started.toUTC().toString(QLatin1String(kDateFormat)).toLatin1() + ".UTC");
  Write(out, "PB", Escaped(game.first.name));
  Write(out, "PW", Escaped(game.second.name));
  Write(out, "TY", "8");
  if (game.finished) {
    const Position end = game.Final();
    const int difference = end.Count(1) - end.Count(2);
    Write(out, "RE", (difference > 0 ? "+" : "") + QByteArray::number(difference) + ".000");
  }
  Write(out, "BO", BoardText(game.start));
  Write(out, "XB", KindText(game.first.kind));
  Write(out, "XW", KindText(game.second.kind));
  if (!game.finished) Write(out, "XE", "left");
  Write(out, "XT", FormatTranscript(game.moves).toLatin1());
  out += '\n';
  for (const Move& move : game.moves)
    Write(out, move.side == 1 ? "B" : "W", move.IsPass() ? QByteArray("PA") : MoveText(move).toLatin1());
  out += ";)\n";
  return out;
}

std::optional<GameRecord> ReadGgf(QByteArrayView text, QString* why, Position* end) {
  GameRecord game;
  std::vector<Move> moves;
  bool othello = false;
  bool left = false;
  bool resultFlag = false;
  QString problem;
  const bool whole = ForEachProperty(text, [&](const Property& p) {
    const QByteArrayView id = p.id;
    if (id == "B" || id == "W") {
      const auto move = MoveOf(id == "B" ? 1 : 2, p.value);
      if (!move) problem = QStringLiteral("%1手目が読めません").arg(moves.size() + 1);
      if (move) moves.push_back(*move);
      return move.has_value();
    }
    if (id == "GM") othello = p.value.trimmed().compare("othello", Qt::CaseInsensitive) == 0;
    else if (id == "DT") game.started = DateOf(p.value.trimmed());
    else if (id == "PB") game.first.name = QString::fromUtf8(Unescaped(p.value));
    else if (id == "PW") game.second.name = QString::fromUtf8(Unescaped(p.value));
    else if (id == "XB") game.first.kind = KindOf(p.value);
    else if (id == "XW") game.second.kind = KindOf(p.value);
    else if (id == "XE") left = p.value == "left";
    else if (id == "RE") resultFlag = p.value.contains(':');
    else if (id == "TY" && !p.value.trimmed().startsWith('8')) problem = QStringLiteral("8×8の盤ではありません");
    else if (id == "BO") {
      const auto board = BoardOf(p.value);
      if (!board) problem = QStringLiteral("盤面（BO）が読めません");
      if (board) game.start = *board;
    }
    return problem.isEmpty();
  });
  if (!problem.isEmpty()) return Fail(why, problem);
  if (!whole) return Fail(why, QStringLiteral("GGF形式ではありません"));
  if (!othello) return Fail(why, QStringLiteral("オセロの棋譜ではありません"));
  Replay replay(game.start);
  for (std::size_t i = 0; i < moves.size(); ++i)
    if (!replay.Play(moves[i])) return Fail(why, QStringLiteral("%1手目は打てない手です").arg(i + 1));
  game.moves = replay.Moves();
  // A game that stops early without our mark ended on the board or by a flagged result
  // (resignation, time) in the program that wrote it.
  game.finished = !left && (replay.Over() || resultFlag);
  if (end) *end = replay.Current();
  return game;
}

}  // namespace gamelog
