#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstring>
#include <functional>
#include <string>

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

using TurnFlow = BoardFixture;

TEST_F(TurnFlow, OnePassThenTheOtherSideMoves) {
  // Side 1's only stone sits against the edge behind side 2's: side 1 cannot move, side 2 can.
  LoadBoard(board, {"21......", "........", "........", "........",
                    "........", "........", "........", "........"});
  board.SetWho(QPoint(kLocal, kLocal));
  board.setEnabled(false);
  board.GameShori();
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QStringLiteral("青はパスです"), QStringLiteral("順番")}}));
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_TRUE(board.isEnabled());
  EXPECT_EQ(board.FGameEnd, 0);
}

TEST_F(TurnFlow, NeitherSideCanMove) {
  LoadBoard(board, {"11......", "........", "........", "........",
                    "........", "........", "........", ".......2"});
  board.SetWho(QPoint(kLocal, kCpu));
  board.GameShori();
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{
                               {QStringLiteral("青はパスです"), QStringLiteral("順番")},
                               {QStringLiteral("白はパスです"), QStringLiteral("順番")},
                               {QStringLiteral("青の勝ちです\n青：2\n白：1"), kResult},
                           }));
  EXPECT_EQ(board.FGameEnd, 1);
  EXPECT_FALSE(board.isEnabled());
  EXPECT_EQ(counters[kSouWin], 1);
}

TEST_F(TurnFlow, FillingTheLastCellEndsAtOnce) {
  LoadBoard(board, {"11111111", "11111111", "11111111", "11111111",
                    "11111111", "11111111", "11111111", "1111112."});
  board.SetWho(QPoint(kLocal, kLocal));
  board.FTurn = 1;
  int gameEndDuringBox = -1;
  boxes.onBox([&](const Box&) { gameEndDuringBox = board.FGameEnd; });
  board.MoveStep(_Rev{7, 7, 1});
  EXPECT_EQ(gameEndDuringBox, 0);  // set once the result is closed
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QStringLiteral("青の勝ちです\n青：64\n白：0"), kResult}}));
  EXPECT_EQ(board.FTurn, 1);
  EXPECT_EQ(board.FKuroCount, 64);
  EXPECT_EQ(board.FShiroCount, 0);
  EXPECT_EQ(board.FGameEnd, 1);
}

struct CounterCase {
  int who1;
  int who2;
  bool net;
  const BoardPicture* end;
  const char* box;
  std::int32_t expected[6];  // SouNum, SouWin, SouLose, NetNum, NetWin, NetLose
};

TEST_F(TurnFlow, RecordCountersForEveryKindOfGame) {
  constexpr int L = kLocal, C = kCpu, N = kNet;
  const char* one = "青の勝ちです\n青：40\n白：24";
  const char* two = "白の勝ちです\n青：24\n白：40";
  const char* draw = "引き分けです";
  const CounterCase cases[] = {
      {L, C, false, &kSideOneWins, one, {1, 1, 0, 0, 0, 0}},
      {L, C, true, &kSideOneWins, one, {1, 1, 0, 1, 1, 0}},
      {C, L, false, &kSideOneWins, one, {1, 0, 1, 0, 0, 0}},
      {N, L, true, &kSideOneWins, one, {1, 0, 1, 1, 0, 1}},
      {L, L, false, &kSideOneWins, one, {1, 1, 1, 0, 0, 0}},
      {L, L, true, &kSideOneWins, one, {1, 1, 1, 1, 1, 1}},
      {C, C, false, &kSideOneWins, one, {0, 0, 0, 0, 0, 0}},
      {N, N, true, &kSideOneWins, one, {0, 0, 0, 0, 0, 0}},
      {L, C, false, &kSideTwoWins, two, {1, 0, 1, 0, 0, 0}},
      {L, N, true, &kSideTwoWins, two, {1, 0, 1, 1, 0, 1}},
      {C, L, false, &kSideTwoWins, two, {1, 1, 0, 0, 0, 0}},
      {N, L, true, &kSideTwoWins, two, {1, 1, 0, 1, 1, 0}},
      {L, L, true, &kSideTwoWins, two, {1, 1, 1, 1, 1, 1}},
      {L, L, true, &kDraw, draw, {1, 0, 0, 1, 0, 0}},
      {L, C, false, &kDraw, draw, {1, 0, 0, 0, 0, 0}},
      {C, C, false, &kDraw, draw, {0, 0, 0, 0, 0, 0}},
  };
  for (const CounterCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.who1 << " vs " << c.who2 << (c.net ? " net " : " ") << c.box);
    std::fill(std::begin(counters), std::end(counters), 0);
    boxes.clear();
    board.SetBanSize(8, 8);
    board.FNetPlay = c.net;
    board.SetWho(QPoint(c.who1, c.who2));
    LoadBoard(board, *c.end);
    board.EndShori();
    EXPECT_EQ(boxes.boxes(), (std::vector<Box>{{QString::fromUtf8(c.box), kResult}}));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(counters[i], c.expected[i]) << "counter " << i;
  }
  // Counters the game screen has not set are skipped.
  TIReversi bare;
  bare.SetWho(QPoint(kLocal, kLocal));
  LoadBoard(bare, kSideOneWins);
  bare.EndShori();
  EXPECT_EQ(bare.FGameEnd, 1);
}

TEST_F(TurnFlow, MovesAfterTheEndAreStale) {
  LoadBoard(board, {"11111111", "11111111", "11111111", "11111111",
                    "11111111", "11111111", "11111111", "1111112."});
  board.FNetPlay = true;
  board.SetWho(QPoint(kLocal, kNet));
  board.NetGet(_Rev{7, 7, 1});
  // A repeated echo of the last move must not show the result or count the game again.
  board.NetGet(_Rev{7, 7, 1});
  board.NetGet(_Rev{0, 0, 2});
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(counters[kSouWin], 1);
  EXPECT_EQ(counters[kNetWin], 1);
  // A new board plays again.
  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  board.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(board.FKomaCount, 5);
}

TEST_F(TurnFlow, NetworkMovesOnOccupiedCellsAndOffTheBoard) {
  board.DefaultSetKoma();
  board.FNetPlay = true;
  board.SetWho(QPoint(kNet, kNet));
  const BoardPicture start = BoardRows(board);
  board.NetGet(_Rev{3, 3, 1});  // occupied: the turn still changes
  EXPECT_EQ(BoardRows(board), start);
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_FALSE(board.isEnabled());
  for (const _Rev& off : {_Rev{8, 0, 2}, _Rev{0, -1, 2}, _Rev{-1, 3, 2}, _Rev{2, 8, 2}}) board.NetGet(off);
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_EQ(board.FKomaCount, 4);
  // A newcomer replays the host's list: the four starting stones leave the turn where it was.
  board.FTurn = 1;
  for (int i = 0; i < 4; ++i) board.NetGet(board.FKomaList[i]);
  EXPECT_EQ(board.FTurn, 1);
  EXPECT_EQ(BoardRows(board), start);
  board.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(BoardRows(board)[3], "..111...");
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TurnFlow, GameShoriBeforeThePlayersAreSet) {
  board.DefaultSetKoma();
  board.setEnabled(false);
  board.GameShori();
  EXPECT_FALSE(board.isEnabled());
  board.setEnabled(true);
  board.GameShori();
  EXPECT_TRUE(board.isEnabled());
  EXPECT_EQ(board.FTurn, 1);
  // Passes are still found and shown.
  LoadBoard(board, {"21......", "........", "........", "........",
                    "........", "........", "........", "........"});
  board.GameShori();
  EXPECT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(board.FTurn, 2);
  EXPECT_EQ(counters[kSouNum], 0);
}

TEST_F(TurnFlow, ANetworkClickIsSentOnceAndAppliedWhenItReturns) {
  board.DefaultSetKoma();
  board.FNetPlay = true;
  board.SetWho(QPoint(kLocal, kNet));
  board.GameShori();
  ClickCell(2, 3);  // no network to send to: nothing is sent or faked
  EXPECT_EQ(board.FKomaCount, 4);
  EXPECT_EQ(board.FTurn, 1);

  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  std::vector<_Rev> sent;
  board.OnSendMove = [&](const _Rev& move) { sent.push_back(move); };
  // A guest that plays neither side yet: still enabled, but its clicks are not moves.
  board.SetWho(QPoint(kNet, kNet));
  ASSERT_TRUE(board.isEnabled());
  ClickCell(2, 3);
  EXPECT_TRUE(sent.empty());
  EXPECT_FALSE(board.AwaitingEcho());
  board.SetWho(QPoint(kLocal, kNet));

  ClickCell(2, 3);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].x, 2);
  EXPECT_EQ(sent[0].y, 3);
  EXPECT_EQ(sent[0].value, 1);
  EXPECT_EQ(board.FKomaCount, 4);  // nothing is applied where it is made
  EXPECT_TRUE(board.AwaitingEcho());
  ClickCell(2, 3);
  ClickCell(5, 4);
  EXPECT_EQ(sent.size(), 1u);

  board.NetGet(sent[0]);
  EXPECT_FALSE(board.AwaitingEcho());
  EXPECT_EQ(BoardRows(board)[3], "..111...");
  EXPECT_EQ(board.FTurn, 2);
  board.NetGet(_Rev{2, 2, 2});
  ClickCell(2, 1);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].x, 2);
  EXPECT_EQ(sent[1].y, 1);

  // A reset ends the wait as well.
  board.SetBanSize(8, 8);
  EXPECT_FALSE(board.AwaitingEcho());
}

// Processes events until done() or the limit.
bool WaitFor(const std::function<bool()>& done, int limitMs = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limitMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

TEST_F(TurnFlow, EngineIsAskedAfterAPauseWithTheBoardDisabled) {
  board.DefaultSetKoma();
  int requests = 0;
  int turnAtRequest = 0;
  bool enabledAtRequest = true;
  QElapsedTimer clock;
  qint64 waited = 0;
  board.OnEngineRequest = [&] {
    ++requests;
    turnAtRequest = board.FTurn;
    enabledAtRequest = board.isEnabled();
    waited = clock.elapsed();
  };
  board.SetWho(QPoint(kLocal, kCpu));
  board.GameShori();
  clock.start();
  ClickCell(2, 3);
  // The pause is a timer: the click returns at once, the window goes on meanwhile.
  EXPECT_EQ(requests, 0);
  EXPECT_FALSE(board.isEnabled());
  ASSERT_TRUE(WaitFor([&] { return requests == 1; }));
  EXPECT_EQ(turnAtRequest, 2);
  EXPECT_FALSE(enabledAtRequest);
  EXPECT_GE(waited, 100);
  board.GameShori();  // the same turn handed out again asks no second engine
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(requests, 1);
}

TEST_F(TurnFlow, AResetWhileWaitingForTheEngineDropsTheRequest) {
  board.DefaultSetKoma();
  int requests = 0;
  board.OnEngineRequest = [&] { ++requests; };
  board.SetWho(QPoint(kCpu, kLocal));
  board.GameShori();
  board.SetBanSize(8, 8);  // a board-reset record handled during the pause
  board.DefaultSetKoma();
  board.GameShori();
  ASSERT_TRUE(WaitFor([&] { return requests > 0; }));
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(requests, 1) << "only the request after the reset";

  // Nor is an engine asked once the window has closed and released the board.
  board.SetBanSize(8, 8);
  board.DefaultSetKoma();
  board.GameShori();
  board.ClearBanSize();
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(requests, 1);
}

TEST_F(TurnFlow, AnAbandonedGameCountsNothing) {
  board.DefaultSetKoma();
  board.FNetPlay = true;
  board.SetWho(QPoint(kLocal, kCpu));
  EXPECT_EQ(counters[kSouNum], 1);
  EXPECT_EQ(counters[kNetNum], 1);
  board.AbandonGame();
  EXPECT_EQ(counters[kSouNum], 0);
  EXPECT_EQ(counters[kNetNum], 0);
  EXPECT_EQ(board.FGameEnd, 1);
  EXPECT_FALSE(board.isEnabled());
  EXPECT_TRUE(boxes.boxes().empty()) << "no result";
  board.NetGet(_Rev{2, 3, 1});
  EXPECT_EQ(board.FKomaCount, 4) << "a late move finds the game over";

  // A game that has its result keeps it.
  board.SetBanSize(8, 8);
  LoadBoard(board, kSideOneWins);
  board.SetWho(QPoint(kLocal, kCpu));
  board.EndShori();
  board.AbandonGame();
  EXPECT_EQ(counters[kSouNum], 1);
  EXPECT_EQ(counters[kSouWin], 1);
}

TEST_F(TurnFlow, EnginePaths) {
  board.SetCpuPath(0, "DllCpu/Tekum/TEKUM.DLL");
  board.SetCpuPath(1, "DllCpu/Other/TEKUM.DLL");
  board.SetCpuPath(0, "DllCpu/A/TEKUM.DLL");  // replaces, shorter: no tail of the old one left
  EXPECT_STREQ(board.FCpuPath[0], "DllCpu/A/TEKUM.DLL");
  EXPECT_EQ(board.FCpuPath[0][19], 0);
  EXPECT_STREQ(board.FCpuPath[1], "DllCpu/Other/TEKUM.DLL");
  board.SetCpuPath(1, std::string(700, 'a').c_str());
  EXPECT_EQ(std::strlen(board.FCpuPath[1]), 511u);
}

TEST_F(TurnFlow, WholeGameBetweenTwoLocalPlayersWithTheMouse) {
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
  board.DefaultSetKoma();
  board.BanDraw();
  board.KomaDrawAll();
  board.SetWho(QPoint(kLocal, kLocal));
  board.GameShori();

  int moves = 0;
  while (board.FGameEnd == 0 && moves < 64) {
    _Rev move{};
    ASSERT_TRUE(board.CheckKomaPut(board.FTurn, &move)) << "the flow left a side without a move";
    ASSERT_TRUE(board.isEnabled());
    QTest::mouseMove(&board, Centre(move.x, move.y));
    QTest::mouseClick(&board, moves % 2 ? Qt::RightButton : Qt::LeftButton, {}, Centre(move.x, move.y));
    ++moves;
  }
  ASSERT_EQ(board.FGameEnd, 1);
  ASSERT_FALSE(boxes.boxes().empty());
  const Box& result = boxes.boxes().back();
  EXPECT_EQ(result.caption, kResult);
  EXPECT_EQ(board.FKuroCount + board.FShiroCount, board.FKomaCount);
  if (board.FKuroCount != board.FShiroCount) {
    EXPECT_EQ(result.text, QStringLiteral("%1の勝ちです\n青：%2\n白：%3")
                               .arg(board.FKuroCount > board.FShiroCount ? "青" : "白")
                               .arg(board.FKuroCount)
                               .arg(board.FShiroCount));
    EXPECT_EQ(counters[kSouWin], 1);
    EXPECT_EQ(counters[kSouLose], 1);
  }
  EXPECT_EQ(counters[kSouNum], 1);
  EXPECT_FALSE(board.isEnabled());

  // The placement list replayed on a bare model gives the same board.
  BoardModel replay;
  replay.DefaultSetKoma();
  for (int i = 4; i < board.FKomaCount; ++i) replay.KomaGaeshi(board.FKomaList[i]);
  EXPECT_EQ(BoardRows(replay), BoardRows(board));
  EXPECT_EQ(board.FKomaCount - 4, moves);
}

}  // namespace
