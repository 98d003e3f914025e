#pragma once
// The real program's windows in a room on 127.0.0.1, with members or a host that the test
// writes byte by byte.
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QLineEdit>

#include <vector>

#include "board/IReversi.h"
#include "screens/TurnFlow.h"
#include "game/BoardModel.h"
#include "net/NetRecord.h"
#include "platform/Worker.h"
#include "net/Socket.h"
#include "platform/InterfaceAddresses.h"
#include "screens/ChildWin.h"
#include "screens/GamenRoom.h"
#include "screens/Session.h"
#include "settings/SaveRecord.h"
#include "screens/Menu.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include "tests/net/WirePeer.h"
#include "tests/screens/ProgramFixture.h"

class NetplayFixture : public ProgramFixture {
 protected:
  // This machine, as far as the room can tell: one interface on a home network.
  void SetUp() override {
    ProgramFixture::SetUp();
    interfaces = {{QStringLiteral("lo"), platform::IpAddress::LoopbackV4()},
                  {QStringLiteral("eth0"), *platform::IpAddress::FromText(QStringLiteral("192.168.1.20"))}};
  }
  void TearDown() override {
    ProgramFixture::TearDown();
    EXPECT_TRUE(WaitUntil([] { return platform::Worker::Running() == 0; }));
  }

  // The dialog filled for a room on this port.
  void FillDialog(const QString& user, std::uint16_t port, bool host, const QString& hostName = {}) {
    AddPictures({"face.bmp"});
    Start();
    frmMenu->rgNet->Button(0)->click();
    if (!host) frmMenu->cbOya->click();
    frmMenu->edHostName->setText(hostName);
    frmMenu->edPortNo->setText(QString::number(port));
    frmMenu->edUserName->setText(user);
  }

  static QStringList Rows(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }

  // Every record of that kind (and sub-kind, for mkGame and mkPicture) among those given.
  static std::vector<wire::Bytes> OfKind(const std::vector<wire::Bytes>& all, int kind, int sub = -1) {
    std::vector<wire::Bytes> out;
    for (const auto& b : all)
      if (wire::Get16(b, wire::Kind) == kind && (sub < 0 || wire::Get16(b, wire::Sub) == sub)) out.push_back(b);
    return out;
  }

  // A one-move record as a member writes it.
  static wire::Bytes MoveBytes(int x, int y, int side) {
    wire::Bytes b = wire::Game(1, 0, 1);
    wire::Put32(b, 8, x);
    wire::Put32(b, 12, y);
    wire::Put32(b, 16, side);
    return b;
  }

  // The picture parts of one side put back together.
  static QByteArray PictureOf(const std::vector<wire::Bytes>& all, int side) {
    QByteArray out;
    bool begun = false;
    for (const auto& b : all) {
      if (wire::Get16(b, wire::Kind) != 203 || wire::Get16(b, 8) != side) continue;
      const int part = wire::Get16(b, wire::Sub);
      if (part == 1) begun = true;
      if (part == 2 && begun) out.append(reinterpret_cast<const char*>(b.data() + 16), wire::Get32(b, 12));
    }
    return out;
  }
};

// A member's own view of the game, kept by the test: the same rules the program uses, fed
// with the moves the host relays, passes found locally.
struct WatchedGame {
  BoardModel model;
  bool over = false;
  WatchedGame() { model.DefaultSetKoma(); }
  void Apply(const _Rev& r) {
    model.KomaGaeshi(r);
    if (model.Full()) {
      over = true;
      return;
    }
    model.FTurn = model.FTurn == 1 ? 2 : 1;
    if (model.CheckKomaPut(model.FTurn)) return;
    model.FTurn = model.FTurn == 1 ? 2 : 1;
    if (!model.CheckKomaPut(model.FTurn)) over = true;
  }
  std::vector<_Rev> List() const { return {model.FKomaList, model.FKomaList + model.FKomaCount}; }
};

// Another member's program in this process, with its own game, game screen and socket form,
// joined to a host on this port as a guest that waits for an invitation. Its windows are never
// shown. It notes the players each time its game sets them.
struct MemberBoard : GameListener {
  MessageRecorder boxes;
  SaveRecord record;
  Session session{QString(), QString(), [this] {
    Services services;
    services.dialogs = boxes.dialogs();
    return services;
  }()};
  TfrmGamen gamen{record, session};
  TfrmSocket socket{nullptr, boxes.dialogs()};
  bool joined = false;
  std::vector<std::pair<int, int>> playersSeen;

  MemberBoard(std::uint16_t port, const QString& name) {
    AttachRoom(gamen, socket, nullptr, nullptr);
    session.game.SetNetPlay(true);
    session.game.SetWho(static_cast<int>(PlayerKind::Net), static_cast<int>(PlayerKind::Net));
    session.game.AddListener(this);
    bool answered = false;
    socket.ConnectToHost(QStringLiteral("127.0.0.1"), port, name, [this, &answered](int result) {
      joined = result == 0;
      answered = true;
    });
    // A join still under way after the limit is given up: its answer would find nothing here.
    if (!QTest::qWaitFor([&] { return answered; }, 10000)) socket.CancelStart();
  }
  ~MemberBoard() override {
    socket.close();
    session.game.RemoveListener(this);
  }
  void PlayersSet() override { playersSeen.emplace_back(session.game.Who(1), session.game.Who(2)); }
  const Game& Played() const { return session.game; }
  // Back to waiting: both sides played elsewhere, a new game not yet begun.
  bool Waiting() const {
    const Game& g = session.game;
    return g.Who(1) == static_cast<int>(PlayerKind::Net) && g.Who(2) == static_cast<int>(PlayerKind::Net) &&
           !g.Started() && g.Board().FKomaCount == 4;
  }
};

inline bool operator==(const _Rev& a, const _Rev& b) { return a.x == b.x && a.y == b.y && a.value == b.value; }
