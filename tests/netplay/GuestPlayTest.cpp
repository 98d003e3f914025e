// A member's program with its real windows, joined to a host that the test plays byte by byte.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "enginehost/CpuThread.h"
#include "net/FacePicture.h"
#include "screens/Data.h"
#include "screens/Image.h"
#include "tests/netplay/NetplayFixture.h"
#include "tests/support/Wait.h"

namespace {

using wire::Get16;
using wire::Get32;

class GuestPlay : public NetplayFixture {
 protected:
  void SetUp() override {
    NetplayFixture::SetUp();
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    socklen_t len = sizeof sa;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    ASSERT_EQ(::listen(listener_, 4), 0);
  }
  void TearDown() override {
    ::close(listener_);
    NetplayFixture::TearDown();
  }

  // Joins as "Ko"; the connection is taken as soon as it is made, so everything the program
  // sends after the join is timed from outside.
  void Join() {
    FillDialog(QStringLiteral("Ko"), port, false, QStringLiteral("127.0.0.1"));
    frmMenu->btOk->click();
    ASSERT_TRUE(WaitUntil([&] {
      pollfd p{listener_, POLLIN, 0};
      return ::poll(&p, 1, 1) > 0;
    }));
    const int fd = ::accept(listener_, nullptr, nullptr);
    ASSERT_GE(fd, 0);
    std::vector<TimedRecord> first;
    std::thread reader([&] { first = ReadTimed(fd, 400); });
    WaitUntil([&] { return false; }, 600);
    reader.join();
    line.Adopt(fd);
    ASSERT_EQ(first.size(), 3u);
    const wire::Bytes& join = first[0].bytes;
    EXPECT_EQ(Get16(join, wire::Kind), 2);
    EXPECT_EQ(wire::GetText(join, wire::Name, 30), QByteArray("Ko"));
    EXPECT_EQ(join[wire::Text], 0);
    EXPECT_EQ(Get16(first[1].bytes, wire::Kind), 200);
    EXPECT_EQ(Get16(first[2].bytes, wire::Kind), 5);
    // A busy machine may take the first one in late, which can only shorten the gap.
    EXPECT_GE(first[2].ms - first[1].ms, 50) << "the user list is asked for 100 ms after the game";
  }

  std::uint16_t port = 0;
  Peer line;

 private:
  int listener_ = -1;
};

TEST_F(GuestPlay, AGuestRebuildsTheGameIsInvitedPlaysAndFollowsTheRoom) {
  Join();
  const Game& played = TheGame();
  TIReversi* board = frmGamen->Reversi;
  EXPECT_EQ(frmGamen->windowTitle(), QStringLiteral("Velmora-127.0.0.1"));
  EXPECT_FALSE(frmGamen->btRestart->isVisible());
  EXPECT_FALSE(frmMenuWk->isVisible());
  EXPECT_EQ(played.Who(1), 3);
  EXPECT_EQ(played.Who(2), 3);

  // While both sides are Net a click sends nothing.
  auto click = [&](int x, int y) {
    const QPoint at = CellCentre(x, y);
    board->BanMouseMove(board, {}, at.x(), at.y());
    board->BanMouseDown(board, Qt::LeftButton, {}, at.x(), at.y());
  };
  click(3, 2);
  EXPECT_TRUE(line.Drain(100).empty());

  // The host's answer: the placement list (the four starting stones first), names, faces
  // (the second one is not a bitmap and is dropped).
  wire::Bytes run = wire::Game(1, 0, 6);
  const int list[6][3] = {{3, 3, 2}, {4, 3, 1}, {3, 4, 1}, {4, 4, 2}, {3, 2, 1}, {2, 2, 2}};
  for (int i = 0; i < 6; ++i)
    for (int k = 0; k < 3; ++k) wire::Put32(run, 8 + 12 * i + 4 * k, list[i][k]);
  line.Send(run);
  wire::Bytes names = wire::Record(202);
  wire::Put16(names, wire::To, 1);
  wire::Put16(names, wire::Sub, 1);
  wire::PutText(names, 24, "Oya");
  wire::PutText(names, 54, wire::Sjis("ベン"));
  line.Send(names);
  QImage face(20, 20, QImage::Format_RGB32);
  face.fill(Qt::red);
  for (const TNetRecord& part : PictureRecords(1, BitmapBytes(face))) line.SendRaw(part.data(), 256);
  for (const TNetRecord& part : PictureRecords(2, QByteArray(500, 'z'))) line.SendRaw(part.data(), 256);
  ASSERT_TRUE(WaitUntil([] { return frmGamen->lbShiroKoma->text() == QStringLiteral("ベン"); }));
  line.Drain(100);
  EXPECT_EQ(played.Board().FKomaCount, 6);
  EXPECT_EQ(played.Turn(), 1) << "the starting stones turn the turn four times, the two moves twice";
  EXPECT_EQ(played.Cell(3, 3), 2);
  EXPECT_EQ(frmGamen->lbKuroName->text(), "Oya");
  EXPECT_EQ(frmGamen->imKuroFace->Picture().size(), QSize(20, 20));
  EXPECT_TRUE(frmGamen->imShiroKoma->Picture().isNull());

  // A move the rules refuse (a1 encloses nothing) is not played; the chat view says so.
  line.Send(MoveBytes(0, 0, 1));
  const QString refused = QStringLiteral("不正な手を受け取ったので無視しました（a1）");
  ASSERT_TRUE(WaitUntil([&] { return frmGamen->reMessage->toPlainText().contains(refused); }));
  EXPECT_EQ(played.Cell(0, 0), 0);
  EXPECT_EQ(played.Turn(), 1);

  // Invited to the first side: its own face goes out, and its click goes out as one move.
  line.Send(wire::Game(3, 1, 0));
  const auto sent = line.Drain(200);
  const std::optional<QImage> mine = PictureFromBytes(PictureOf(sent, 0));
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->size(), frmMenu->imChara->Picture().size());
  EXPECT_EQ(OfKind(sent, 203, 1).size(), 1u);
  EXPECT_EQ(Get16(OfKind(sent, 203, 1)[0], wire::To), 0xFFFF);
  EXPECT_EQ(frmGamen->imKuroFace->Picture(), frmMenu->imChara->Picture());
  EXPECT_EQ(played.Who(1), 1);
  EXPECT_EQ(played.Who(2), 3);
  _Rev legal{};
  ASSERT_TRUE(played.Board().CheckKomaPut(1, &legal));
  click(legal.x, legal.y);
  auto move = line.Receive();
  ASSERT_TRUE(move);
  EXPECT_EQ(*move, MoveBytes(legal.x, legal.y, 1));
  EXPECT_EQ(played.Board().FKomaCount, 6) << "not played before the host relays it";
  line.Send(*move);
  ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == 7; }));

  // The user list, a private line and a statistics request from the list.
  const char* users[] = {"Oya", "Ko", "Mi"};
  for (int i = 0; i < 3; ++i) {
    wire::Bytes entry = wire::Record(5);
    wire::Put32(entry, wire::Number, i);
    wire::PutText(entry, 20, users[i]);
    line.Send(entry);
  }
  ASSERT_TRUE(WaitUntil([] { return frmGamen->lbPeaple->count() == 4; }));
  EXPECT_EQ(Rows(frmGamen->lbPeaple), (QStringList{"All", "Oya", "Ko", "Mi"}));
  frmGamen->lbPeaple->setCurrentRow(3);
  frmGamen->edMessage->setText(QStringLiteral("やあ"));
  PressKey(frmGamen->edMessage, Qt::Key_Return);
  frmGamen->lbPeapleDblClick();
  auto privateLine = line.Receive();
  auto request = line.Receive();
  ASSERT_TRUE(privateLine && request);
  EXPECT_EQ(Get16(*privateLine, wire::Kind), 4);
  EXPECT_EQ(Get32(*privateLine, wire::Number), 2);
  EXPECT_EQ(wire::GetText(*privateLine, wire::Name, 30), QByteArray("Ko"));
  EXPECT_EQ(wire::GetText(*privateLine, wire::Text, 214), wire::Sjis("やあ"));
  EXPECT_EQ(Get16(*request, wire::Sub), 5);
  EXPECT_EQ(Get16(*request, wire::To), 2);
  EXPECT_EQ(frmData->lbName->text(), "Mi");

  // Asked for its record, it answers with its six counters to the one who asked.
  Record().SouWin = 5;
  line.Send(wire::Game(5, 1, 7));
  auto answer = line.Receive();
  ASSERT_TRUE(answer);
  EXPECT_EQ(Get16(*answer, wire::Sub), 6);
  EXPECT_EQ(Get16(*answer, wire::To), 7);
  EXPECT_EQ(Get32(*answer, 12), 5);
  EXPECT_EQ(Get32(*answer, 8), Record().SouNum);

  // The selected user leaves: the selection goes to "All".
  wire::Bytes leave = wire::Record(999);
  wire::PutText(leave, wire::Name, "MI");
  wire::Put32(leave, wire::Number, 2);
  line.Send(leave);
  ASSERT_TRUE(WaitUntil([] { return frmGamen->lbPeaple->count() == 3; }));
  EXPECT_EQ(frmGamen->lbPeaple->currentRow(), 0);

  // The host's reset: both sides Net, blank faces, the starting position.
  line.Send(wire::Game(4));
  ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == 4; }));
  EXPECT_EQ(played.Who(1), 3);
  EXPECT_TRUE(frmGamen->imKuroFace->Picture().isNull());

  // The host goes: one notice, and later sends go nowhere without harm.
  line.Close();
  const QString notice = QStringLiteral("No.99(Server):サーバーが切断されました");
  ASSERT_TRUE(WaitUntil([&] { return frmGamen->reMessage->toPlainText().contains(notice); }));
  WaitUntil([] { return false; }, 100);
  EXPECT_EQ(frmGamen->reMessage->toPlainText().count(notice), 1);
  EXPECT_EQ(frmSocket->MemberSocket(), -1);
  EXPECT_EQ(Rows(frmGamen->lbPeaple), QStringList{QStringLiteral("All")}) << "nobody is left in the room";
  frmGamen->lbPeaple->setCurrentRow(0);
  PressKey(frmGamen->edMessage, Qt::Key_Return);
  frmGamen->close();
  EXPECT_TRUE(programEnded);
}

TEST_F(GuestPlay, AnEngineAnswerWhileOurMoveIsOnItsWayIsNotSentAgain) {
  AddEngines();
  Join();
  Game& played = TheGame();
  const QByteArray engine = (exePath + QStringLiteral("DllCpu/Tekum/TEKUM.DLL")).toLocal8Bit();
  frmGamen->Flow->SetCpuPath(0, engine.constData());
  played.SetWho(static_cast<int>(PlayerKind::Cpu), static_cast<int>(PlayerKind::Net));
  frmGamen->Flow->GameShori();
  const auto move = line.Receive(10000);
  ASSERT_TRUE(move);
  ASSERT_EQ(Get16(*move, wire::Sub), 1);
  // The host has not relayed it yet when the engine is asked again and answers.
  played.SetWho(static_cast<int>(PlayerKind::Cpu), static_cast<int>(PlayerKind::Net));
  frmGamen->Flow->GameShori();
  ASSERT_TRUE(WaitUntil([&] { return frmGamen->Flow->ThinkingSide() == 1; }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return frmGamen->Flow->ThinkingSide() == 0; }, 10000));
  EXPECT_TRUE(line.Drain(200).empty()) << "one move on the wire at a time";
  EXPECT_EQ(played.Board().FKomaCount, 4);
  line.Send(*move);
  ASSERT_TRUE(WaitUntil([&] { return played.Board().FKomaCount == 5; }));
  EXPECT_EQ(played.Turn(), 2);
}

TEST_F(GuestPlay, ClosingTellsTheHostWithALeave) {
  Join();
  frmGamen->close();
  auto leave = line.Receive();
  ASSERT_TRUE(leave);
  EXPECT_EQ(Get16(*leave, wire::Kind), 999);
  EXPECT_EQ(wire::GetText(*leave, wire::Name, 30), QByteArray("Ko"));
  EXPECT_EQ((*leave)[wire::Text], 0);
  EXPECT_TRUE(programEnded);
}

}  // namespace
