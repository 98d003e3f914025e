#include "screens/KifuTexts.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString Signed(int value) { return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value); }

QString MoveName(const QString& move) { return move == QLatin1String("pass") ? QStringLiteral("パス") : move; }

}  // namespace

QString ResultText(const gamelog::GameRecord& game, const gamelog::Position& end) {
  const int first = end.Count(1);
  const int second = end.Count(2);
  const QString count = QStringLiteral(" %1-%2").arg(first).arg(second);
  if (!game.finished) return QStringLiteral("中断") + count;
  if (first == second) return QStringLiteral("引き分け") + count;
  return (first > second ? QStringLiteral("先行勝ち") : QStringLiteral("後攻勝ち")) + count;
}

QString DateText(const gamelog::GameRecord& game) {
  return game.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString PlayerText(const gamelog::Player& player) {
  const QString name = player.name.isEmpty() ? QStringLiteral("？") : player.name;
  switch (player.kind) {
    case PlayerKind::Cpu: return name + QStringLiteral("（エンジン）");
    case PlayerKind::Net: return name + QStringLiteral("（ネット）");
    default: return name;
  }
}

std::optional<MoveReview> ReviewOfLine(const QByteArray& line) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(line, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject o = document.object();
  for (const char* key : {"n", "side", "value", "best_value"})
    if (!o.value(QLatin1String(key)).isDouble()) return std::nullopt;
  MoveReview r;
  r.number = o.value(QLatin1String("n")).toInt();
  r.side = o.value(QLatin1String("side")).toInt();
  r.move = o.value(QLatin1String("move")).toString();
  r.value = o.value(QLatin1String("value")).toInt();
  r.best = o.value(QLatin1String("best")).toString();
  r.bestValue = o.value(QLatin1String("best_value")).toInt();
  r.exact = o.value(QLatin1String("exact")).toBool();
  return r;
}

QString MoveLine(int number, const gamelog::Move& move, const MoveReview* review) {
  const QString side = move.side == 1 ? QStringLiteral("先行") : QStringLiteral("後攻");
  QString line = QStringLiteral("%1　%2　%3").arg(number).arg(side, MoveName(gamelog::MoveText(move)));
  if (!review) return line;
  line += QStringLiteral("　%1（最善 %2 %3）").arg(Signed(review->value), MoveName(review->best), Signed(review->bestValue));
  if (review->exact) line += QStringLiteral("完全読み");
  if (review->Blunder()) line = QStringLiteral("悪手　") + line;
  return line;
}
