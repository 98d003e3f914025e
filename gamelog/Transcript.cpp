#include "gamelog/Transcript.h"

#include "gamelog/Replay.h"

namespace gamelog {

QString FormatTranscript(const std::vector<Move>& moves) {
  QString text;
  text.reserve(static_cast<qsizetype>(moves.size()) * 2);
  for (const Move& move : moves)
    if (!move.IsPass()) text += MoveText(move);
  return text;
}

namespace {

bool IsSeparator(QChar c) { return c.isSpace() || QStringView(u",.;:-/").contains(c); }

// A pass word at `at`, answering its length, or 0.
qsizetype PassWordAt(QStringView text, qsizetype at) {
  for (const QStringView word : {QStringView(u"pass"), QStringView(u"pa")})
    if (text.mid(at).startsWith(word, Qt::CaseInsensitive)) return word.size();
  return 0;
}

}  // namespace

std::optional<std::vector<Move>> ParseTranscript(QStringView text, const Position& start, TranscriptError* error) {
  Replay replay(start);
  int number = 0;
  auto fail = [&](QStringView token) -> std::optional<std::vector<Move>> {
    if (error) *error = TranscriptError{number, token.toString()};
    return std::nullopt;
  };
  qsizetype i = 0;
  while (i < text.size()) {
    if (IsSeparator(text[i])) {
      ++i;
      continue;
    }
    ++number;
    if (const qsizetype length = PassWordAt(text, i)) {
      if (!replay.Play(Move::Pass(replay.SideToMove()))) return fail(text.mid(i, length));
      i += length;
      continue;
    }
    if (i + 1 >= text.size()) return fail(text.mid(i));
    const QChar column = text[i].toLower();
    const QChar row = text[i + 1];
    if (column < u'a' || column > u'h' || row < u'1' || row > u'8') {
      if (number == 1) number = 0;  // not a transcript at all
      return fail(text.mid(i, 2));
    }
    if (!replay.PlayCell(column.unicode() - u'a', row.unicode() - u'1')) return fail(text.mid(i, 2));
    i += 2;
  }
  if (number == 0) return fail(text);
  return replay.Moves();
}

}  // namespace gamelog
