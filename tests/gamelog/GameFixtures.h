#pragma once
#include <QString>

#include "gamelog/GameRecord.h"
#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"
#include "tests/support/Files.h"

// Games for the tests, from the data files beside them.
inline QByteArray TestData(const char* name) {
  return ReadFile(QStringLiteral(VELM_GAMELOG_TEST_DATA "/") + QLatin1String(name)).trimmed();
}

inline gamelog::GameRecord GameOf(const QString& transcript, const QString& first, PlayerKind firstKind,
                                  const QString& second, PlayerKind secondKind, const QString& when) {
  gamelog::GameRecord game;
  game.started = QDateTime::fromString(when, Qt::ISODate);
  game.started.setTimeSpec(Qt::UTC);
  game.first = {first, firstKind};
  game.second = {second, secondKind};
  game.moves = gamelog::ParseTranscript(transcript).value_or(std::vector<gamelog::Move>{});
  gamelog::Replay end(game.start);
  for (const gamelog::Move& move : game.moves) end.Play(move);
  game.finished = end.Over();
  return game;
}
