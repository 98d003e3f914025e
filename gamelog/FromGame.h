#pragma once
#include <QDateTime>

#include "gamelog/GameRecord.h"

class BoardModel;
struct PlayedMove;

namespace gamelog {

// The record of a game as the game model played it, from the position it started from. The
// passes that only tell the game is over (neither side can place) are not moves of the record.
GameRecord RecordOf(const BoardModel& start, int startTurn, const std::vector<PlayedMove>& moves, bool finished,
                    const Player& first, const Player& second, const QDateTime& started);

// A board position as the game model holds one, and back.
Position PositionOf(const BoardModel& board, int sideToMove);
void SetUpBoard(const Position& position, BoardModel& board);

}  // namespace gamelog
