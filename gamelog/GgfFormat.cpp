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

void Property(QByteArray& out, const char* id, const QByteArray& value) {
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

// The properties of the first game, in order, values unescaped.
std::optional<std::vector<std::pair<QByteArray, QByteArray>>> Properties(QByteArrayView text) {
  const qsizetype open = text.indexOf("(;");
  if (open < 0) return std::nullopt;
  std::vector<std::pair<QByteArray, QByteArray>> properties;
  qsizetype i = open + 2;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ';' && i + 1 < text.size() && text[i + 1] == ')') return properties;
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++i;
      continue;
    }
    QByteArray id;
    while (i < text.size() && text[i] >= 'A' && text[i] <= 'Z') id += text[i++];
    if (id.isEmpty() || i >= text.size() || text[i] != '[') return std::nullopt;
    QByteArray value;
    for (++i; i < text.size() && text[i] != ']'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) ++i;
      value += text[i];
    }
    if (i >= text.size()) return std::nullopt;
    ++i;
    properties.emplace_back(std::move(id), std::move(value));
  }
  return std::nullopt;  // no end of game
}

std::optional<Move> MoveOf(int side, QByteArrayView value) {
  const qsizetype slash = value.indexOf('/');
  const QByteArray text = value.first(slash < 0 ? value.size() : slash).toByteArray().trimmed().toLower();
  if (text == "pa" || text == "pass") return Move::Pass(side);
  if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') return std::nullopt;
  return Move{side, text[0] - 'a', text[1] - '1'};
}

QDateTime DateOf(const QByteArray& value) {
  bool isNumber = false;
  const qint64 seconds = value.toLongLong(&isNumber);
  if (isNumber) return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
  // The zone after the seconds is a name such as "UTC" or "EST"; only UTC is known for sure.
  QDateTime date = QDateTime::fromString(QString::fromLatin1(value.left(19)), QLatin1String(kDateFormat));
  date.setTimeSpec(Qt::UTC);
  return date;
}

std::optional<GameRecord> Fail(QString* why, const QString& reason) {
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace

QByteArray WriteGgf(const GameRecord& game) {
  QByteArray out = "(;";
  Property(out, "GM", "Othello");
  Property(out, "PC", "Velmora");
  Property(out, "DT", game.started.toUTC().toString(QLatin1String(kDateFormat)).toLatin1() + ".UTC");
  Property(out, "PB", Escaped(game.first.name));
  Property(out, "PW", Escaped(game.second.name));
  Property(out, "TY", "8");
  if (game.finished) {
    const Position end = game.Final();
    const int difference = end.Count(1) - end.Count(2);
    Property(out, "RE", (difference > 0 ? "+" : "") + QByteArray::number(difference) + ".000");
  }
  Property(out, "BO", BoardText(game.start));
  Property(out, "XB", KindText(game.first.kind));
  Property(out, "XW", KindText(game.second.kind));
  if (!game.finished) Property(out, "XE", "left");
  Property(out, "XT", FormatTranscript(game.moves).toLatin1());
  out += '\n';
  for (const Move& move : game.moves)
    Property(out, move.side == 1 ? "B" : "W", move.IsPass() ? QByteArray("PA") : MoveText(move).toLatin1());
  out += ";)\n";
  return out;
}

std::optional<GameRecord> ReadGgf(QByteArrayView text, QString* why) {
  const auto properties = Properties(text);
  if (!properties) return Fail(why, QStringLiteral("GGF形式ではありません"));
  GameRecord game;
  std::vector<Move> moves;
  bool othello = false;
  bool left = false;
  bool resultFlag = false;
  for (const auto& [id, value] : *properties) {
    if (id == "GM") othello = value.trimmed().compare("othello", Qt::CaseInsensitive) == 0;
    else if (id == "DT") game.started = DateOf(value.trimmed());
    else if (id == "PB") game.first.name = QString::fromUtf8(value);
    else if (id == "PW") game.second.name = QString::fromUtf8(value);
    else if (id == "XB") game.first.kind = KindOf(value);
    else if (id == "XW") game.second.kind = KindOf(value);
    else if (id == "XE") left = value == "left";
    else if (id == "RE") resultFlag = value.contains(':');
    else if (id == "TY" && !value.trimmed().startsWith('8')) return Fail(why, QStringLiteral("8×8の盤ではありません"));
    else if (id == "BO") {
      const auto board = BoardOf(value);
      if (!board) return Fail(why, QStringLiteral("盤面（BO）が読めません"));
      game.start = *board;
    } else if (id == "B" || id == "W") {
      const auto move = MoveOf(id == "B" ? 1 : 2, value);
      if (!move) return Fail(why, QStringLiteral("%1手目が読めません").arg(moves.size() + 1));
      moves.push_back(*move);
    }
  }
  if (!othello) return Fail(why, QStringLiteral("オセロの棋譜ではありません"));
  Replay replay(game.start);
  for (std::size_t i = 0; i < moves.size(); ++i)
    if (!replay.Play(moves[i])) return Fail(why, QStringLiteral("%1手目は打てない手です").arg(i + 1));
  game.moves = replay.Moves();
  // A game that stops early without our mark ended on the board or by a flagged result
  // (resignation, time) in the program that wrote it.
  game.finished = !left && (replay.Over() || resultFlag);
  return game;
}

}  // namespace gamelog
