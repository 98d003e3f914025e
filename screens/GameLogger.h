#pragma once
#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

#include "game/Game.h"
#include "gamelog/GameLog.h"

// Keeps every game the board shows in the game log: saved when it ends, or when it is left
// (a new game, a reset from the host, the window closed). The model tells what happened only
// after the fact, and a new game clears its moves, so the logger keeps its own copy of the game
// in progress. Games without a single placement are not kept. Runs on the window thread.
class GameLogger : private GameListener {
 public:
  // player(side): the name and kind of side 1 or 2 as the game screen shows them now.
  GameLogger(const Game& game, const gamelog::GameLog& log, std::function<gamelog::Player(int side)> player);
  ~GameLogger() override;
  GameLogger(const GameLogger&) = delete;
  GameLogger& operator=(const GameLogger&) = delete;

  // Told after each game is kept, or with the error when it could not be.
  std::function<void()> OnSaved;
  std::function<void(const QString& error)> OnError;

 private:
  void Begin();
  void Follow();  // the moves and the players as the game now stands
  void Keep(bool finished);

  void Placed(const _Rev&, const std::vector<_Rev>&) override { Follow(); }
  void Passed(int) override { Follow(); }
  void Rewound() override { Follow(); }
  void Ended() override;
  void Restarted() override;
  void PlayersSet() override;

  const Game& game_;
  const gamelog::GameLog& log_;
  std::function<gamelog::Player(int side)> player_;
  bool following_ = false;  // a game is under way that is not kept yet
  QDateTime started_;
  BoardModel start_;
  int startTurn_ = 1;
  std::vector<PlayedMove> moves_;
  gamelog::Player players_[2];
};
