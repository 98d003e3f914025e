#pragma once
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

#include "gamelog/GameRecord.h"

namespace gamelog {

// The standard transcript of a game: its placements one after another, "f5d6c3d3c4...", with
// no passes (the rules say where they fall).
QString FormatTranscript(const std::vector<Move>& moves);

struct TranscriptError {
  int moveNumber = 0;  // 1 for the first placement written; 0 when the text is not a transcript
  QString token;       // what stood there
};

// Reads a transcript from start: cells in either case, with or without spaces or separators
// between them; "pass" or "PA" may stand where a side passes. Passes are filled in from the
// rules. Nothing, and the error, when the text is not a transcript or a move is not legal.
std::optional<std::vector<Move>> ParseTranscript(QStringView text, const Position& start = Position::Standard(),
                                                 TranscriptError* error = nullptr);

}  // namespace gamelog
