#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "game/BoardModel.h"
#include "game/GameListener.h"
#include "game/Rev.h"

// The six record counters a game counts into, held by whoever keeps the user's record: games,
// wins and losses, then the same for network games. A null pointer is not counted.
struct GameCounters {
  std::int32_t* SouNum = nullptr;
  std::int32_t* SouWin = nullptr;
  std::int32_t* SouLose = nullptr;
  std::int32_t* NetNum = nullptr;
  std::int32_t* NetWin = nullptr;
  std::int32_t* NetLose = nullptr;
};

// One entry of the moves played: a placement, or a pass (x and y are -1, value the side).
struct PlayedMove {
  _Rev move;
  bool IsPass() const { return move.x < 0; }
};

// A position as an engine is asked about it: the cells column after column, and the side to move.
struct PositionSnapshot {
  std::int32_t cols = 0;
  std::int32_t rows = 0;
  std::vector<std::int32_t> cells;
  std::int32_t side = 0;
  bool operator==(const PositionSnapshot&) const = default;
};

enum class PlayOutcome {
  Played,         // applied; the passes and the end it brought are in the report
  AlreadyStands,  // that very stone stands there already: nothing changes, nothing is told
  Illegal,        // not a legal move of the side to move: not applied
  Over,           // the game has ended: nothing changes
};

// What a move (or a look at the position) brought about: the sides that had to pass, in order,
// and whether the game ended.
struct TurnReport {
  std::vector<int> passes;
  bool ended = false;
};

struct PlayReport : TurnReport {
  PlayOutcome outcome = PlayOutcome::Played;
};

// One game of Reversi: the board, the side to move, the two players, every move played (passes
// too), the result and the counting of the user's record. Play() is the one way a move gets on
// the board, wherever it comes from: it checks the move against the rules, applies it, finds the
// passes and the end that follow, and tells the listeners. Plain C++, no window, no thread.
//
// Counting: setting the players counts a game when a side is Local (and a network game when
// playing on the network); the end counts a win and a loss for the Local sides; a game given up
// because its engine failed takes back what it counted; a game stopped midway stays counted as
// played; taking moves back never changes a counter.
class Game {
 public:
  Game();  // 8 x 8 starting position, side 1 to move, no players yet

  // The game as it stands.
  const BoardModel& Board() const { return board_; }
  std::int32_t Cell(int x, int y) const { return board_.Cell(x, y); }
  std::int32_t Turn() const { return board_.FTurn; }
  std::int32_t Who(int side) const;  // the PlayerKind of side 1 or 2, as a number; 0 until set
  bool NetPlay() const { return netPlay_; }
  bool Started() const { return started_; }  // players set since the last new game
  bool Over() const { return over_; }
  bool InProgress() const { return started_ && !over_; }
  bool HasResult() const { return over_ && result_; }  // ended by the rules, not given up
  int KuroCount() const { return kuroCount_; }  // the final counts, once there is a result
  int ShiroCount() const { return shiroCount_; }
  const std::vector<PlayedMove>& Moves() const { return moves_; }
  // The position the game started from and its side to move.
  const BoardModel& StartBoard() const { return start_; }
  std::int32_t StartTurn() const { return startTurn_; }
  // Every stone placed since the position the game started from, that position's own first.
  std::vector<_Rev> Placements() const;
  std::optional<_Rev> LastPlacement() const;
  // A legal move for the side to move, in a game that goes on.
  bool IsLegal(const _Rev& move) const;
  PositionSnapshot Snapshot() const;
  // Changes with every change of the position, the turn, the players or the game itself.
  unsigned Generation() const { return generation_; }

  // Setting up.
  void SetCounters(const GameCounters& counters) { counters_ = counters; }
  void SetNetPlay(bool netPlay) { netPlay_ = netPlay; }
  // The starting position, side 1 to move; the players stay as they were but the new game has
  // not started yet. A game in progress is left as one stopped midway.
  void NewGame();
  // A game from a position of its own (the starting position is one); otherwise as NewGame.
  void StartFrom(const BoardModel& position, int turn);
  // The players: the game starts, and is counted when a side is Local.
  void SetWho(int who1, int who2);

  // Playing.
  PlayReport Play(const _Rev& move);
  // Passes and the end at the position as it stands, for a game set up on a position where the
  // side to move may have no move.
  TurnReport SettleTurn();
  // The game ends without a result because an engine failed; what it counted is taken back.
  void Abandon();
  // The game ends midway without a result (a player left, a new game was wanted); it stays
  // counted as played.
  void Stop();

  // Taking back: the local user's last move and every other move after it; again until the
  // start. Redo plays them again, a local move and what followed it, until a new move is made.
  // Only while the game goes on and no side is played over the network.
  bool CanUndo() const;
  bool CanRedo() const;
  TurnReport Undo();
  TurnReport Redo();

  // Those who show the game listen to it; listening changes nothing of the game.
  void AddListener(GameListener* listener) const;
  void RemoveListener(GameListener* listener) const;

 private:
  // The board that tells the game each cell it changes.
  class ChangeBoard : public BoardModel {
   public:
    std::vector<_Rev> changes;
   protected:
    void CellChanged(int x, int y, std::int32_t value) override { changes.push_back(_Rev{x, y, value}); }
  };

  // Places a legal move, records it, and finds the passes and the end after it.
  TurnReport Apply(const _Rev& move);
  TurnReport FindPassesAndEnd(TurnReport report);
  void End();
  void Replay(const std::vector<_Rev>& placements);
  bool SideIsLocal(int side) const;
  bool NetworkSide() const;
  template <typename Fn>
  void Tell(Fn fn);

  ChangeBoard board_;
  BoardModel start_;  // the position the game started from
  std::int32_t startTurn_ = 1;
  std::int32_t who_[2] = {0, 0};
  bool netPlay_ = false;
  bool started_ = false;
  bool over_ = false;
  bool result_ = false;
  int kuroCount_ = 0;
  int shiroCount_ = 0;
  std::vector<PlayedMove> moves_;
  std::vector<_Rev> redo_;  // placements taken back, in playing order
  GameCounters counters_;
  std::int32_t* counted_[2] = {};  // what setting the players counted, until the game has a result
  unsigned generation_ = 0;
  mutable std::vector<GameListener*> listeners_;
};
