// The game model on its own, without any application object: perft through Play, passes and
// the end, taking moves back and playing them again, network moves against the rules, and the
// counting of the user's record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/CellName.h"
#include "game/Game.h"
#include "tests/game/BoardText.h"

namespace {

constexpr int kLocal = static_cast<int>(PlayerKind::Local);
constexpr int kCpu = static_cast<int>(PlayerKind::Cpu);
constexpr int kNet = static_cast<int>(PlayerKind::Net);

// Writes down what the game tells, one word per call.
class Log : public GameListener {
 public:
  std::vector<std::string> heard;
  void Placed(const _Rev& stone, const std::vector<_Rev>& flipped) override {
    std::string word = CellName(stone.x, stone.y);
    for (const _Rev& f : flipped) word += " " + CellName(f.x, f.y);
    heard.push_back(word);
  }
  void Passed(int side) override { heard.push_back("pass " + std::to_string(side)); }
  void Ended() override { heard.push_back("end"); }
  void Restarted() override { heard.push_back("new"); }
  void Rewound() override { heard.push_back("rewound"); }
  void PlayersSet() override { heard.push_back("players"); }
};

// The six counters a game counts into.
struct Record {
  std::int32_t n[6] = {};  // SouNum, SouWin, SouLose, NetNum, NetWin, NetLose
  GameCounters Counters() { return {&n[0], &n[1], &n[2], &n[3], &n[4], &n[5]}; }
  std::vector<std::int32_t> Values() const { return {n, n + 6}; }
};

long long Perft(const Game& game, int depth) {
  long long total = 0;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) {
      Game next = game;
      if (next.Play(_Rev{x, y, game.Turn()}).outcome != PlayOutcome::Played) continue;
      total += depth == 1 ? 1 : Perft(next, depth - 1);
    }
  return total;
}

TEST(Game, MoveCountsThroughPlayMatchPublishedFigures) {
  const Game start;
  const long long expected[] = {4, 12, 56, 244, 1396, 8200, 55092};
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(Perft(start, n), expected[n - 1]) << "after " << n << " moves";
}

TEST(Game, PassesAndTheEndFollowFromTheRules) {
  Game game;
  Log log;
  game.AddListener(&log);

  // Side 1's only stone sits against the edge behind side 2's.
  LoadGame(game, {"21......", "........", "........", "........", "........", "........", "........", "........"});
  TurnReport report = game.SettleTurn();
  EXPECT_EQ(report.passes, std::vector<int>{1});
  EXPECT_FALSE(report.ended);
  EXPECT_EQ(game.Turn(), 2);

  // Neither side can move: a pass each, the first for the side to move, then the end.
  LoadGame(game, {"11......", "........", "........", "........", "........", "........", "........", ".......2"});
  log.heard.clear();
  report = game.SettleTurn();
  EXPECT_EQ(report.passes, (std::vector<int>{1, 2}));
  EXPECT_TRUE(report.ended);
  EXPECT_TRUE(game.HasResult());
  EXPECT_EQ(game.KuroCount(), 2);
  EXPECT_EQ(game.ShiroCount(), 1);
  EXPECT_EQ(log.heard, (std::vector<std::string>{"pass 1", "pass 2", "end"}));

  // A whole game with a pass in the middle: the move before it reports it, the list keeps it,
  // and the full board ends the game with no pass and the last mover still to move.
  game.NewGame();
  log.heard.clear();
  const std::vector<_Rev> cells = RecordedGame("blue-wins-after-a-pass");
  ASSERT_EQ(cells.size(), 60u);
  int passes = 0;
  for (const _Rev& cell : cells) {
    const int side = game.Turn();
    const PlayReport played = game.Play(_Rev{cell.x, cell.y, side});
    ASSERT_EQ(played.outcome, PlayOutcome::Played) << CellName(cell.x, cell.y);
    passes += static_cast<int>(played.passes.size());
    if (&cell == &cells.back()) {
      EXPECT_TRUE(played.ended);
      EXPECT_TRUE(played.passes.empty());
      EXPECT_EQ(game.Turn(), side);
    }
  }
  EXPECT_EQ(passes, 1);
  EXPECT_EQ(game.Moves().size(), 61u);
  EXPECT_EQ(game.KuroCount(), 46);
  EXPECT_EQ(game.ShiroCount(), 18);
  EXPECT_EQ(log.heard.front(), "f5 e5");  // the stone, then what it turned
  EXPECT_EQ(log.heard.back(), "end");
  EXPECT_EQ(game.Play(_Rev{0, 0, 1}).outcome, PlayOutcome::Over);

  // A side wiped out: it passes, the other cannot move either, and the game ends early.
  game.NewGame();
  const std::vector<_Rev> wipe = RecordedGame("white-wiped-out");
  ASSERT_EQ(PlayCells(game, wipe, static_cast<int>(wipe.size()) - 1), static_cast<int>(wipe.size()) - 1);
  const PlayReport last = game.Play(_Rev{wipe.back().x, wipe.back().y, game.Turn()});
  EXPECT_EQ(last.passes, (std::vector<int>{2, 1}));
  EXPECT_TRUE(last.ended);
  EXPECT_EQ(game.ShiroCount(), 0);
  game.RemoveListener(&log);
}

TEST(Game, UndoGoesBackToTheStartAndRedoForwardAgain) {
  Record record;
  Game game;
  game.SetCounters(record.Counters());
  game.SetWho(kLocal, kCpu);
  const std::vector<std::int32_t> counted = record.Values();
  const BoardPicture start = BoardRows(game);
  const std::vector<_Rev> cells = RecordedGame("blue-wins-after-a-pass");
  // 45 moves: past white's pass after the 43rd, so blue moves twice in a row there.
  ASSERT_EQ(PlayCells(game, cells, 45), 45);
  const BoardPicture reached = BoardRows(game);
  const int turn = game.Turn();
  EXPECT_FALSE(game.CanRedo());

  // Each undo takes back the user's move and the engine's answers after it.
  int undos = 0;
  while (game.CanUndo()) {
    game.Undo();
    ++undos;
    EXPECT_EQ(game.Turn(), 1) << "the user's turn again";
    ASSERT_LT(undos, 40);
  }
  EXPECT_EQ(undos, 23);
  EXPECT_EQ(BoardRows(game), start);
  EXPECT_TRUE(game.Moves().empty());

  while (game.CanRedo()) game.Redo();
  EXPECT_EQ(BoardRows(game), reached);
  EXPECT_EQ(game.Turn(), turn);
  EXPECT_EQ(game.Moves().size(), 46u) << "the pass comes back with the moves";

  // A new move after an undo ends what could be played again.
  game.Undo();
  ASSERT_TRUE(game.CanRedo());
  _Rev other{};
  ASSERT_TRUE(game.Board().CheckKomaPut(game.Turn(), &other));
  other.value = game.Turn();
  ASSERT_EQ(game.Play(other).outcome, PlayOutcome::Played);
  EXPECT_FALSE(game.CanRedo());
  EXPECT_EQ(record.Values(), counted) << "taking back never changes the record";

  // Two users at one board take back one move at a time; a network side takes back nothing.
  game.NewGame();
  game.SetWho(kLocal, kLocal);
  PlayCells(game, cells, 3);
  game.Undo();
  EXPECT_EQ(game.Moves().size(), 2u);
  game.SetWho(kLocal, kNet);
  EXPECT_FALSE(game.CanUndo());
  // Nor once the game has ended.
  game.NewGame();
  game.SetWho(kLocal, kCpu);
  PlayCells(game, cells);
  EXPECT_TRUE(game.Over());
  EXPECT_FALSE(game.CanUndo());
}

TEST(Game, MovesAgainstTheRulesAreNotApplied) {
  Game game;
  Log log;
  game.AddListener(&log);
  const BoardPicture start = BoardRows(game);
  const unsigned generation = game.Generation();
  const _Rev refused[] = {
      {2, 3, 2},        // legal for side 1, but side 2 is named
      {3, 3, 1},        // side 2's stone stands there
      {0, 0, 1},        // encloses nothing
      {8, 3, 1},        // off the board
      {-1, 0, 1},       //
      {2, 3, 0},        // not a side
      {2, 3, 7},        //
      {100000, -5, 1},  //
  };
  for (const _Rev& move : refused)
    EXPECT_EQ(game.Play(move).outcome, PlayOutcome::Illegal) << CellName(move.x, move.y) << " " << move.value;
  EXPECT_EQ(BoardRows(game), start);
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_EQ(game.Generation(), generation);

  // A newcomer is told the four starting stones, which already stand: nothing changes, nothing
  // is told, and the game's placements that follow rebuild the game.
  Game host;
  PlayCells(host, RecordedGame("white-wins"), 20);
  for (const _Rev& placed : host.Placements()) game.Play(placed);
  EXPECT_EQ(BoardRows(game), BoardRows(host));
  EXPECT_EQ(game.Turn(), host.Turn());
  ASSERT_EQ(log.heard.size(), 20u);
  EXPECT_EQ(game.Placements().size(), host.Placements().size());
  EXPECT_EQ(CellName(3, 2), "d3");
  EXPECT_EQ(CellName(9, -1), "9,-1");
  game.RemoveListener(&log);
}

TEST(Game, TheRecordCountsFinishedLeftAndAbandonedGames) {
  struct Case {
    const char* game;
    int who1;
    int who2;
    bool net;
    std::vector<std::int32_t> expected;  // SouNum, SouWin, SouLose, NetNum, NetWin, NetLose
  };
  const Case cases[] = {
      {"blue-wins-after-a-pass", kLocal, kCpu, false, {1, 1, 0, 0, 0, 0}},
      {"blue-wins-after-a-pass", kLocal, kNet, true, {1, 1, 0, 1, 1, 0}},
      {"blue-wins-after-a-pass", kCpu, kLocal, false, {1, 0, 1, 0, 0, 0}},
      {"white-wins", kNet, kLocal, true, {1, 1, 0, 1, 1, 0}},
      {"white-wins", kLocal, kLocal, true, {1, 1, 1, 1, 1, 1}},
      {"white-wins", kCpu, kCpu, false, {0, 0, 0, 0, 0, 0}},
      {"draw", kLocal, kCpu, true, {1, 0, 0, 1, 0, 0}},
      {"draw", kNet, kNet, true, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.game << " " << c.who1 << " vs " << c.who2 << (c.net ? " net" : ""));
    Record record;
    Game game;
    game.SetCounters(record.Counters());
    game.SetNetPlay(c.net);
    game.SetWho(c.who1, c.who2);
    EXPECT_EQ(PlayCells(game, RecordedGame(c.game)), 60);
    EXPECT_TRUE(game.HasResult());
    EXPECT_EQ(record.Values(), c.expected);
    game.Abandon();  // too late: a game with its result keeps it
    EXPECT_EQ(record.Values(), c.expected);
  }

  Record record;
  Game game;
  game.SetCounters(record.Counters());
  game.SetNetPlay(true);
  // Left midway, by a new game or a player gone: played, neither won nor lost.
  game.SetWho(kLocal, kCpu);
  PlayCells(game, RecordedGame("draw"), 10);
  game.Stop();
  EXPECT_TRUE(game.Over());
  EXPECT_FALSE(game.HasResult());
  game.NewGame();
  game.SetWho(kLocal, kCpu);
  PlayCells(game, RecordedGame("draw"), 10);
  game.NewGame();
  EXPECT_EQ(record.Values(), (std::vector<std::int32_t>{2, 0, 0, 2, 0, 0}));
  // Given up because its engine failed: what it counted is taken back.
  game.SetWho(kCpu, kLocal);
  game.Abandon();
  EXPECT_EQ(record.Values(), (std::vector<std::int32_t>{2, 0, 0, 2, 0, 0}));
  EXPECT_EQ(game.Play(_Rev{2, 3, 1}).outcome, PlayOutcome::Over);
}

}  // namespace
