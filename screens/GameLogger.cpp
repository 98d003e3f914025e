#include "screens/GameLogger.h"

#include <algorithm>

#include "gamelog/FromGame.h"

GameLogger::GameLogger(const Game& game, const gamelog::GameLog& log, std::function<gamelog::Player(int side)> player)
    : game_(game), log_(log), player_(std::move(player)) {
  game_.AddListener(this);
}

GameLogger::~GameLogger() { game_.RemoveListener(this); }

void GameLogger::Begin() {
  following_ = true;
  started_ = QDateTime::currentDateTimeUtc();
  start_ = game_.StartBoard();
  startTurn_ = game_.StartTurn();
  moves_.clear();
}

void GameLogger::Follow() {
  if (!following_) Begin();
  moves_ = game_.Moves();
  // The names come from the match set up after the players: the latest are the game's.
  for (int side : {1, 2}) players_[side - 1] = player_(side);
}

void GameLogger::Keep(bool finished) {
  following_ = false;
  const bool placed = std::any_of(moves_.begin(), moves_.end(), [](const PlayedMove& m) { return !m.IsPass(); });
  if (!placed) return;
  const QString error =
      log_.Save(gamelog::RecordOf(start_, startTurn_, moves_, finished, players_[0], players_[1], started_));
  if (!error.isEmpty()) {
    if (OnError) OnError(error);
  } else if (OnSaved) {
    OnSaved();
  }
}

void GameLogger::Ended() {
  Follow();
  Keep(game_.HasResult());
}

// A new game or new players while a game is under way: that game was left as it stood.
void GameLogger::Restarted() {
  if (following_) Keep(false);
  Begin();
}

void GameLogger::PlayersSet() {
  if (following_ && !moves_.empty()) Keep(false);
  Begin();
}
