// The turn flow on this machine: the pass and result boxes, moves from the room checked by the
// rules, a network click sent once and played when it comes back.
#include <QTest>
#include <cstring>
#include <string>

#include "game/CellName.h"
#include "screens/TurnFlow.h"
#include "tests/board/BoardFixture.h"

namespace {

using Box = MessageRecorder::Box;

const BoardPicture kSideOneWins = {"11111111", "11111111", "11111111", "11111111",
                                   "11111111", "22222222", "22222222", "22222222"};
const BoardPicture kSideTwoWins = {"22222222", "22222222", "22222222", "22222222",
                                   "22222222", "11111111", "11111111", "11111111"};
const BoardPicture kDraw = {"11111111", "11111111", "11111111", "11111111",
                            "22222222", "22222222", "22222222", "22222222"};
const QString kResult = QStringLiteral("結果");

// The board's game refereed by its turn flow.
class TurnFlowTest : public BoardFixture {
 protected:
  Services services = [this] {
    Services made;
    made.dialogs = boxes.dialogs();
    return made;
  }();
  TurnFlow flow{game, board, services};
};

TEST_F(TurnFlowTest, OnePassThenTheOtherSideMoves) {
  // Side 1's only stone sits against the edge behind side 2's: side 1 cannot move, side 2 can.
  LoadGame(game, {"21......", "........", "........", "........", "........", "........", "........", "........"});
  game.SetWho(kLocal, kLocal);
  board.SetInputOpen(false);
  flow.GameShori();
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QStringLiteral("青はパスです"), QStringLiteral("順番")}}));
  EXPECT_EQ(game.Turn(), 2);
  EXPECT_TRUE(board.InputOpen());
  EXPECT_FALSE(game.Over());
}

TEST_F(TurnFlowTest, NeitherSideCanMove) {
  LoadGame(game, {"11......", "........", "........", "........", "........", "........", "........", ".......2"});
  game.SetWho(kLocal, kCpu);
  flow.GameShori();
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{
                               {QStringLiteral("青はパスです"), QStringLiteral("順番")},
                               {QStringLiteral("白はパスです"), QStringLiteral("順番")},
                               {QStringLiteral("青の勝ちです\n青：2\n白：1"), kResult},
                           }));
  EXPECT_TRUE(game.Over());
  EXPECT_FALSE(board.InputOpen());
  EXPECT_EQ(counters[kSouWin], 1);
}

TEST_F(TurnFlowTest, ANewGameWhileABoxIsOpenEndsWhatTheOldGameHadToShow) {
  // The room's reset handled inside the first pass box: no second pass, no result for a game
  // that is gone, and the new one waits for its players.
  LoadGame(game, {"11......", "........", "........", "........", "........", "........", "........", ".......2"});
  game.SetWho(kLocal, kCpu);
  bool reset = false;
  boxes.onBox([&](const Box&) {
    if (reset) return;
    reset = true;
    game.NewGame();
  });
  flow.GameShori();
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QStringLiteral("青はパスです"), QStringLiteral("順番")}}));
  EXPECT_FALSE(game.Over());
  EXPECT_EQ(game.Board().FKomaCount, 4);
}

TEST_F(TurnFlowTest, FillingTheLastCellEndsAtOnce) {
  LoadGame(game, {"11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "1111112."});
  game.SetWho(kLocal, kLocal);
  bool overDuringBox = false;
  boxes.onBox([&](const Box&) { overDuringBox = game.Over(); });
  flow.MoveStep(_Rev{7, 7, 1});
  // The game has its result before the box opens, so a record handled meanwhile finds it over.
  EXPECT_TRUE(overDuringBox);
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QStringLiteral("青の勝ちです\n青：64\n白：0"), kResult}}));
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_EQ(game.KuroCount(), 64);
  EXPECT_EQ(game.ShiroCount(), 0);
}

TEST_F(TurnFlowTest, TheResultBoxForEachOutcome) {
  const std::pair<const BoardPicture*, QString> cases[] = {
      {&kSideOneWins, QStringLiteral("青の勝ちです\n青：40\n白：24")},
      {&kSideTwoWins, QStringLiteral("白の勝ちです\n青：24\n白：40")},
      {&kDraw, QStringLiteral("引き分けです")},
  };
  for (const auto& [position, text] : cases) {
    boxes.clear();
    LoadGame(game, *position);
    game.SetWho(kLocal, kCpu);
    flow.GameShori();  // a full board: no pass, the result at once
    EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{text, kResult}}));
  }
}

TEST_F(TurnFlowTest, MovesAfterTheEndAreStale) {
  LoadGame(game, {"11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "11111111", "1111112."});
  game.SetNetPlay(true);
  game.SetWho(kLocal, kNet);
  flow.NetGet(_Rev{7, 7, 1});
  // A repeated echo of the last move must not show the result or count the game again.
  flow.NetGet(_Rev{7, 7, 1});
  flow.NetGet(_Rev{0, 0, 2});
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(counters[kSouWin], 1);
  EXPECT_EQ(counters[kNetWin], 1);
  // A new board plays again.
  game.NewGame();
  flow.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(game.Board().FKomaCount, 5);
}

TEST_F(TurnFlowTest, NetworkMovesAgainstTheRulesAreIgnoredWithALine) {
  game.SetNetPlay(true);
  game.SetWho(kNet, kNet);
  std::vector<std::string> ignored;
  flow.OnIgnoredMove = [&](const _Rev& move) { ignored.push_back(CellName(move.x, move.y)); };
  const BoardPicture start = BoardRows(game);
  flow.NetGet(_Rev{3, 3, 1});  // side 2's stone stands there
  flow.NetGet(_Rev{2, 3, 2});  // side 1 is to move
  for (const _Rev& off : {_Rev{8, 0, 1}, _Rev{0, -1, 1}}) flow.NetGet(off);
  EXPECT_EQ(BoardRows(game), start);
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_EQ(ignored, (std::vector<std::string>{"d4", "c4", "8,0", "0,-1"}));
  // A newcomer replays the host's list: the four starting stones stand already and say nothing.
  ignored.clear();
  for (const _Rev& placed : game.Placements()) flow.NetGet(placed);
  EXPECT_TRUE(ignored.empty());
  EXPECT_EQ(game.Turn(), 1);
  flow.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(BoardRows(game)[3], "..111...");
  EXPECT_EQ(game.Turn(), 2);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TurnFlowTest, GameShoriBeforeThePlayersAreSet) {
  board.SetInputOpen(false);
  flow.GameShori();
  EXPECT_FALSE(board.InputOpen());
  board.SetInputOpen(true);
  flow.GameShori();
  EXPECT_TRUE(board.InputOpen());
  EXPECT_EQ(game.Turn(), 1);
  // Passes are still found and shown.
  LoadGame(game, {"21......", "........", "........", "........", "........", "........", "........", "........"});
  flow.GameShori();
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(game.Turn(), 2);
  EXPECT_EQ(counters[kSouNum], 0);
}

TEST_F(TurnFlowTest, ANetworkClickIsSentOnceAndAppliedWhenItReturns) {
  game.SetNetPlay(true);
  game.SetWho(kLocal, kNet);
  flow.GameShori();
  ClickCell(2, 3);  // no room to send to: nothing is sent or faked
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_EQ(game.Turn(), 1);

  game.NewGame();
  std::vector<_Rev> sent;
  flow.OnSendMove = [&](const _Rev& move) { sent.push_back(move); };
  // A guest that plays neither side yet: its clicks are not moves.
  game.SetWho(kNet, kNet);
  board.SetInputOpen(true);
  ClickCell(2, 3);
  EXPECT_TRUE(sent.empty());
  EXPECT_FALSE(flow.AwaitingEcho());
  game.SetWho(kLocal, kNet);

  ClickCell(2, 3);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].x, 2);
  EXPECT_EQ(sent[0].y, 3);
  EXPECT_EQ(sent[0].value, 1);
  EXPECT_EQ(game.Board().FKomaCount, 4);  // nothing is applied where it is made
  EXPECT_TRUE(flow.AwaitingEcho());
  ClickCell(2, 3);
  ClickCell(5, 4);
  EXPECT_EQ(sent.size(), 1u);

  flow.NetGet(sent[0]);
  EXPECT_FALSE(flow.AwaitingEcho());
  EXPECT_EQ(BoardRows(game)[3], "..111...");
  EXPECT_EQ(game.Turn(), 2);
  flow.NetGet(_Rev{2, 2, 2});
  ClickCell(2, 1);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].x, 2);
  EXPECT_EQ(sent[1].y, 1);

  // A new game ends the wait as well.
  game.NewGame();
  EXPECT_FALSE(flow.AwaitingEcho());
}

TEST_F(TurnFlowTest, EnginePaths) {
  flow.SetCpuPath(0, "DllCpu/Tekum/TEKUM.DLL");
  flow.SetCpuPath(1, "DllCpu/Other/TEKUM.DLL");
  flow.SetCpuPath(0, "DllCpu/A/TEKUM.DLL");  // replaces, shorter: no tail of the old one left
  EXPECT_STREQ(flow.CpuPath(0), "DllCpu/A/TEKUM.DLL");
  EXPECT_STREQ(flow.CpuPath(1), "DllCpu/Other/TEKUM.DLL");
  flow.SetCpuPath(1, std::string(700, 'a').c_str());
  EXPECT_EQ(std::strlen(flow.CpuPath(1)), 511u);
}

TEST_F(TurnFlowTest, WholeGameBetweenTwoLocalPlayersWithTheMouse) {
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
  game.SetWho(kLocal, kLocal);
  flow.GameShori();

  int moves = 0;
  while (!game.Over() && moves < 64) {
    _Rev move{};
    ASSERT_TRUE(game.Board().CheckKomaPut(game.Turn(), &move)) << "the flow left a side without a move";
    ASSERT_TRUE(board.InputOpen());
    QTest::mouseMove(&board, Centre(move.x, move.y));
    QTest::mouseClick(&board, moves % 2 ? Qt::RightButton : Qt::LeftButton, {}, Centre(move.x, move.y));
    ++moves;
  }
  ASSERT_TRUE(game.HasResult());
  ASSERT_FALSE(boxes.boxes().empty());
  const Box& result = boxes.boxes().back();
  EXPECT_EQ(result.caption, kResult);
  if (game.KuroCount() != game.ShiroCount()) {
    EXPECT_EQ(result.text, QStringLiteral("%1の勝ちです\n青：%2\n白：%3")
                               .arg(game.KuroCount() > game.ShiroCount() ? "青" : "白")
                               .arg(game.KuroCount())
                               .arg(game.ShiroCount()));
    EXPECT_EQ(counters[kSouWin], 1);
    EXPECT_EQ(counters[kSouLose], 1);
  }
  EXPECT_EQ(counters[kSouNum], 1);
  EXPECT_FALSE(board.InputOpen());
  EXPECT_EQ(static_cast<int>(game.Placements().size()) - 4, moves);
}

}  // namespace
