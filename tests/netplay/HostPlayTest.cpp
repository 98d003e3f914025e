// The host's program with its real windows; the other members are peers written by the test.
#include <QLabel>
#include <QPlainTextEdit>
#include <QAction>
#include <QSignalSpy>

#include "net/FacePicture.h"
#include "platform/Dialogs.h"
#include "screens/Data.h"
#include "screens/Image.h"
#include "tests/netplay/NetplayFixture.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;

class HostPlay : public NetplayFixture {
 protected:
  // The members' own boards leave the room before its host does.
  void TearDown() override {
    boards.clear();
    NetplayFixture::TearDown();
  }

  // Hosts a room as "Oya" and, while the first match menu is open, lets the peers join, then
  // members with boards of their own; then sets the two sides with `choose` and starts.
  void HostWith(const std::vector<QByteArray>& names, std::function<void()> choose, const QStringList& boardNames = {}) {
    port = FreePort();
    FillDialog(QStringLiteral("Oya"), port, true);
    // The user list answer clears the list before it fills it.
    auto rebuilt = std::make_shared<QSignalSpy>(frmGamen->lbPeaple->model(), &QAbstractItemModel::modelReset);
    WhenShown(frmMenuWk, [=, this] {
      // The host's own state answer and user list come first.
      ASSERT_TRUE(WaitUntil([=] { return rebuilt->count() > 0 && frmGamen->lbPeaple->count() == 2; }));
      for (const QByteArray& name : names) {
        peers.emplace_back(std::make_unique<Peer>());
        ASSERT_TRUE(peers.back()->Connect(port));
        peers.back()->Send(wire::Join(name));
        const int want = 2 + static_cast<int>(peers.size());
        ASSERT_TRUE(WaitUntil([=] { return frmGamen->lbPeaple->count() == want; }));
      }
      for (const QString& name : boardNames) {
        boards.push_back(std::make_unique<MemberBoard>(port, name));
        ASSERT_TRUE(boards.back()->joined);
        const int want = 2 + static_cast<int>(peers.size() + boards.size());
        ASSERT_TRUE(WaitUntil([=] { return frmGamen->lbPeaple->count() == want; }));
      }
      choose();
      frmMenuWk->btOk->click();
    });
    frmMenu->btOk->click();
    ASSERT_TRUE(WaitUntil([] { return frmMenuWk->result() == QDialog::Accepted && !frmMenuWk->isVisible(); }));
    QCoreApplication::processEvents();
  }

  // Side 1 or 2: "local" for row -1, else "Net" with that row of the user list clicked.
  static void Choose(int side, int row) {
    TfrmMenuWk* m = frmMenuWk;
    QComboBox* kind = side == 1 ? m->cbPlay1 : m->cbPlay2;
    kind->setCurrentIndex(kind->findText(row < 0 ? QStringLiteral("local") : QStringLiteral("Net")));
    side == 1 ? m->cbPlay1Click() : m->cbPlay2Click();
    if (row < 0) return;
    (side == 1 ? m->lbPlayer1 : m->lbPlayer2)->setCurrentRow(row);
    side == 1 ? m->lbPlayer1Click() : m->lbPlayer2Click();
  }

  std::vector<wire::Bytes> Drain(int i) { return peers[static_cast<std::size_t>(i)]->Drain(150); }

  std::uint16_t port = 0;
  std::vector<std::unique_ptr<Peer>> peers;
  std::vector<std::unique_ptr<MemberBoard>> boards;
};


TEST_F(HostPlay, TwoInvitedMembersPlayAWholeGameThatEveryBoardFollows) {
  HostWith({"Aki", "Ben", "Wat"}, [] {
    Choose(1, 1);
    Choose(2, 2);
  });
  // The room is named by the address others join at, and the chat view says where that is.
  EXPECT_EQ(frmGamen->windowTitle(), QStringLiteral("Velmora-192.168.1.20"));
  EXPECT_EQ(frmMenuWk->windowTitle(), QStringLiteral("対戦メニュー192.168.1.20"));
  EXPECT_TRUE(frmGamen->reMessage->toPlainText().startsWith(QStringLiteral("この部屋のアドレス: 192.168.1.20:%1\n").arg(port)));
  const Game& played = TheGame();
  TIReversi* board = frmGamen->Reversi;
  EXPECT_EQ(played.Who(1), 3);
  EXPECT_EQ(played.Who(2), 3);
  EXPECT_FALSE(board->InputOpen()) << "both sides are played elsewhere";

  // Only the invited members are invited, each to its side; everyone gets the names.
  std::vector<std::vector<wire::Bytes>> got = {Drain(0), Drain(1), Drain(2)};
  const auto inviteA = OfKind(got[0], 201, 3);
  const auto inviteB = OfKind(got[1], 201, 3);
  ASSERT_EQ(inviteA.size(), 1u);
  ASSERT_EQ(inviteB.size(), 1u);
  EXPECT_EQ(Get16(inviteA[0], wire::Arg), 0);
  EXPECT_EQ(Get16(inviteB[0], wire::Arg), 1);
  EXPECT_TRUE(OfKind(got[2], 201, 3).empty());
  for (const auto& seen : got) {
    const auto names = OfKind(seen, 202);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(wire::GetText(names[0], 24, 30), QByteArray("Aki"));
    EXPECT_EQ(wire::GetText(names[0], 54, 30), QByteArray("Ben"));
    EXPECT_TRUE(OfKind(seen, 203).empty()) << "no side is this machine's, so no face is sent";
  }
  EXPECT_EQ(frmGamen->lbKuroName->text(), "Aki");

  // The game: the member whose turn it is sends its move; every member and the host's board
  // apply what the host relays.
  WatchedGame games[3];
  int moves = 0;
  while (!games[0].over && moves < 80) {
    const int side = games[0].model.FTurn;
    _Rev move{};
    ASSERT_TRUE(games[0].model.CheckKomaPut(side, &move));
    peers[side == 1 ? 0 : 1]->Send(MoveBytes(move.x, move.y, side));
    ++moves;
    for (int i = 0; i < 3; ++i) {
      auto r = peers[static_cast<std::size_t>(i)]->Receive();
      ASSERT_TRUE(r);
      ASSERT_EQ(Get16(*r, wire::Kind), 201);
      ASSERT_EQ(Get16(*r, wire::Arg), 1);
      games[i].Apply(_Rev{Get32(*r, 8), Get32(*r, 12), Get32(*r, 16)});
    }
    const int stones = games[0].model.FKomaCount;
    ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == stones; }));
  }
  ASSERT_TRUE(games[0].over);
  ASSERT_TRUE(WaitUntil([&] { return played.Over(); }));
  for (const WatchedGame& g : games) EXPECT_EQ(g.List(), played.Placements());
  ASSERT_FALSE(boxes.boxes().empty());
  EXPECT_EQ(boxes.boxes().back().caption, QStringLiteral("結果"));
  EXPECT_EQ(Record().SouNum, 0) << "a watched game counts for nobody here";

  // "再ゲーム" resets every board: the host's itself, the others through the relay.
  WhenShown(frmMenuWk, [] { frmMenuWk->btCancel->click(); });
  frmGamen->btRestart->click();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(OfKind(Drain(i), 201, 4).size(), 1u);
  EXPECT_EQ(played.Board().FKomaCount, 4);
  EXPECT_FALSE(played.Over());
}

TEST_F(HostPlay, TheHostUserPlaysAMemberAndStatisticsLeavesAndRestartFollow) {
  HostWith({"Aki", "Wat"}, [] {
    // With nobody to choose, a Net side cannot start.
    const QStringList users = Rows(frmGamen->lbPeaple);
    frmGamen->lbPeaple->clear();
    frmGamen->lbPeaple->addItem(QStringLiteral("All"));
    Choose(1, 0);
    EXPECT_FALSE(frmMenuWk->btOk->isEnabled());
    frmGamen->lbPeaple->clear();
    frmGamen->lbPeaple->addItems(users);
    Choose(1, -1);
    EXPECT_TRUE(frmMenuWk->btOk->isEnabled());
    Choose(2, 1);
  });
  const Game& played = TheGame();
  TIReversi* board = frmGamen->Reversi;
  EXPECT_EQ(played.Who(1), 1);
  EXPECT_EQ(played.Who(2), 3);
  EXPECT_TRUE(board->InputOpen());
  auto first = Drain(0);
  // The host's own face goes to everyone as a bitmap.
  const std::optional<QImage> face = PictureFromBytes(PictureOf(first, 0));
  ASSERT_TRUE(face);
  EXPECT_EQ(face->size(), frmMenu->imChara->Picture().size());
  Drain(1);

  // A click on the host's board goes out as one move and is played only when it comes back.
  board->BanMouseMove(board, {}, 0, 0);
  const QPoint at = CellCentre(3, 2);
  board->BanMouseMove(board, {}, at.x(), at.y());
  board->BanMouseDown(board, Qt::LeftButton, {}, at.x(), at.y());
  EXPECT_EQ(played.Board().FKomaCount, 4);
  auto echo = peers[0]->Receive();
  ASSERT_TRUE(echo);
  EXPECT_EQ(*echo, MoveBytes(3, 2, 1));
  ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == 5; }));
  EXPECT_EQ(played.Turn(), 2);
  peers[0]->Send(MoveBytes(2, 2, 2));
  ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == 6; }));
  EXPECT_EQ(played.Cell(3, 3), 2);
  Drain(0);
  Drain(1);

  // Statistics both ways: the member asks the host (position 0), and the host asks the member.
  peers[0]->Send(wire::Game(5, 0));
  auto reply = peers[0]->Receive();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Get16(*reply, wire::Sub), 6);
  EXPECT_EQ(Get32(*reply, 8), Record().SouNum);
  EXPECT_EQ(Get32(*reply, 20), Record().NetNum);
  EXPECT_TRUE(Drain(1).empty()) << "a reply goes to the one who asked";

  frmGamen->lbPeaple->setCurrentRow(2);
  frmGamen->lbPeapleDblClick();
  EXPECT_EQ(frmData->lbName->text(), "Aki");
  auto request = peers[0]->Receive();
  ASSERT_TRUE(request);
  EXPECT_EQ(Get16(*request, wire::Sub), 5);
  wire::Bytes answer = wire::Game(6, static_cast<std::uint16_t>(Get16(*request, wire::Arg)));
  const std::int32_t counters[] = {6, 3, 2, 0, 0, 0};
  for (int i = 0; i < 6; ++i) wire::Put32(answer, 8 + 4 * i, counters[i]);
  peers[0]->Send(answer);
  ASSERT_TRUE(WaitUntil([] { return frmData->lbSouRitsu->text() == "0.500"; }));
  EXPECT_EQ(frmData->lbSouNum->text(), "6");
  EXPECT_EQ(frmData->lbRitsu->text(), "---");

  // The Net player leaves while selected: the selection goes to "All" and the host may restart.
  EXPECT_FALSE(played.Over());
  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "aki");
  peers[0]->Send(leave);
  ASSERT_TRUE(WaitUntil([] { return frmGamen->lbPeaple->count() == 3; }));
  EXPECT_EQ(Rows(frmGamen->lbPeaple), (QStringList{"All", "Oya", "Wat"}));
  EXPECT_EQ(frmGamen->lbPeaple->currentRow(), 0);
  EXPECT_TRUE(played.Over());
  EXPECT_TRUE(frmGamen->reMessage->toPlainText().contains(QStringLiteral("No.1(aki):akiが退室しました")));
  boxes.clear();
  WhenShown(frmMenuWk, [] { frmMenuWk->btCancel->click(); });
  frmGamen->btRestart->click();
  EXPECT_TRUE(boxes.boxes().empty()) << "no refusal once the opponent has gone";
}

TEST_F(HostPlay, AnEngineSideMovesThroughTheRelayLikeAnyMember) {
  AddEngines();
  HostWith({"Aki"}, [] {
    ASSERT_TRUE(EnginesListed());
    frmMenuWk->cbPlay1->setCurrentIndex(frmMenuWk->cbPlay1->findText(QStringLiteral("Cpu")));
    frmMenuWk->cbPlay1Click();
    Choose(2, 1);
  });
  const Game& played = TheGame();
  ASSERT_EQ(played.Who(1), 2);
  WatchedGame game;
  int moves = 0;
  while (!game.over && moves < 80) {
    ++moves;
    if (game.model.FTurn == 2) {
      _Rev move{};
      ASSERT_TRUE(game.model.CheckKomaPut(2, &move));
      peers[0]->Send(MoveBytes(move.x, move.y, 2));
    }
    std::optional<wire::Bytes> r;
    do {
      r = peers[0]->Receive(5000);
      ASSERT_TRUE(r);
    } while (Get16(*r, wire::Kind) != 201 || Get16(*r, wire::Sub) != 1);
    game.Apply(_Rev{Get32(*r, 8), Get32(*r, 12), Get32(*r, 16)});
    const int stones = game.model.FKomaCount;
    ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount >= stones; }));
    // Played once, when the relay brought it back: the turn is the one the rules give.
    EXPECT_EQ(played.Board().FKomaCount, stones);
    if (!game.over) {
      EXPECT_EQ(played.Turn(), game.model.FTurn);
    }
  }
  ASSERT_TRUE(game.over);
  ASSERT_TRUE(WaitUntil([&] { return played.Over(); }));
  EXPECT_EQ(game.List(), played.Placements());
}

}  // namespace

TEST_F(HostPlay, AnEngineThatFailsEndsTheHostsGameAndTheRoomStartsAgain) {
  QDir().mkpath(exePath + "DllCpu/Mini");
  ASSERT_TRUE(QFile::copy(TINY_ILLEGAL, exePath + "DllCpu/Mini/TEKUM.DLL"));
  HostWith({"Aki"}, [] {
    ASSERT_TRUE(EnginesListed());
    frmMenuWk->cbPlay1->setCurrentIndex(frmMenuWk->cbPlay1->findText(QStringLiteral("Cpu")));
    frmMenuWk->cbPlay1Click();
    Choose(2, 1);
  });
  ASSERT_TRUE(WaitUntil([this] { return !boxes.boxes().empty(); }, 30000));
  EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{
                               {QStringLiteral(u"ミニエンジン・テストが正しい手を返しませんでした"), QStringLiteral("Velmora")}}));
  // The room starts again: its boards, the host's too, go back to waiting, and no move went out.
  EXPECT_FALSE(TheGame().Started());
  EXPECT_EQ(TheGame().Who(1), static_cast<int>(PlayerKind::Net));
  const auto after = Drain(0);
  EXPECT_TRUE(OfKind(after, 201, 1).empty());
  EXPECT_EQ(OfKind(after, 201, 4).size(), 1u);

  // "再ゲーム" works at once and resets the room's boards again.
  boxes.clear();
  WhenShown(frmMenuWk, [] { frmMenuWk->btCancel->click(); });
  frmGamen->btRestart->click();
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(OfKind(Drain(0), 201, 4).size(), 1u);
}

TEST_F(HostPlay, AFailedEngineOrANewGameOnTheHostSendsEveryBoardInTheRoomBackToWaiting) {
  QDir().mkpath(exePath + "DllCpu/Mini");
  ASSERT_TRUE(QFile::copy(TINY_ILLEGAL, exePath + "DllCpu/Mini/TEKUM.DLL"));
  // The host's engine plays the first side, Aki the second; Ben watches.
  HostWith({}, [] {
    ASSERT_TRUE(EnginesListed());
    frmMenuWk->cbPlay1->setCurrentIndex(frmMenuWk->cbPlay1->findText(QStringLiteral("Cpu")));
    frmMenuWk->cbPlay1Click();
    Choose(2, 1);
  }, {"Aki", "Ben"});
  MemberBoard& aki = *boards[0];
  MemberBoard& ben = *boards[1];
  constexpr int N = static_cast<int>(PlayerKind::Net), L = static_cast<int>(PlayerKind::Local);

  // The engine fails at its first move: both guests' boards go back to waiting, Aki's after
  // its invitation.
  ASSERT_TRUE(WaitUntil([this] { return !boxes.boxes().empty(); }, 30000));
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral(u"ミニエンジン・テストが正しい手を返しませんでした"));
  ASSERT_TRUE(WaitUntil([&] { return aki.Waiting() && ben.Waiting(); }, 10000));
  EXPECT_EQ(aki.playersSeen, (std::vector<std::pair<int, int>>{{N, L}, {N, N}}));
  EXPECT_FALSE(aki.gamen.mnuNewGame->isEnabled()) << "only the host starts a new game";

  // The host plays Aki itself; 新しいゲーム in the middle asks first, then the room starts again.
  WhenShown(frmMenuWk, [] {
    Choose(1, -1);
    Choose(2, 1);
    frmMenuWk->btOk->click();
  });
  frmGamen->btRestart->click();
  ASSERT_TRUE(WaitUntil([&] { return aki.Played().Who(2) == L; }));
  ASSERT_TRUE(TheGame().InProgress());
  QStringList asked;
  boxes.onQuestion([&](const MessageRecorder::Box& box) {
    asked << box.text;
    return true;
  });
  bool waitingInMenu = false;
  WhenShown(frmMenuWk, [&] {
    waitingInMenu = WaitUntil([&] { return aki.Waiting() && ben.Waiting(); }, 10000);
    frmMenuWk->btCancel->click();
  });
  frmGamen->mnuNewGame->trigger();
  boxes.onQuestion({});
  EXPECT_EQ(asked, QStringList{QStringLiteral("対局を中断して新しいゲームを始めますか？")});
  EXPECT_TRUE(waitingInMenu);
}
