// A room of 10 members on loopback, each with its own game screen, board and socket form in
// this process (the first one hosts). Measures the time from a click on one member's board to
// the stone being painted on every board: the one-move record to the host, the relay, and each
// member's NetGet. Reports the median and the 99th percentile.
#include "tests/support/FreePort.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "board/IReversi.h"
#include "screens/TurnFlow.h"
#include "platform/Worker.h"
#include "net/Socket.h"
#include "screens/ChildWin.h"
#include "screens/GamenRoom.h"
#include "screens/Session.h"
#include "settings/SaveRecord.h"
#include "tests/support/Wait.h"

namespace {

struct Member {
  SaveRecord record;
  Session session;
  std::unique_ptr<TfrmGamen> gamen;
  std::unique_ptr<TfrmSocket> socket;
};

bool WaitUntil(const std::function<bool()>& done, int limitMs = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

void NewGame(std::vector<std::unique_ptr<Member>>& room) {
  for (std::size_t i = 0; i < room.size(); ++i) {
    Game& game = room[i]->session.game;
    game.NewGame();
    // The second member plays the first side; everyone else watches.
    const int local = static_cast<int>(PlayerKind::Local), net = static_cast<int>(PlayerKind::Net);
    game.SetWho(i == 1 ? local : net, net);
    room[i]->gamen->Flow->GameShori();
  }
}

void BM_ClickToEveryBoard(benchmark::State& state) {
  const int members = static_cast<int>(state.range(0));
  const std::uint16_t port = FreePort();
  std::vector<std::unique_ptr<Member>> room;
  for (int i = 0; i < members; ++i) {
    auto m = std::make_unique<Member>();
    m->gamen = std::make_unique<TfrmGamen>(m->record, m->session);
    m->socket = std::make_unique<TfrmSocket>();
    AttachRoom(*m->gamen, *m->socket, nullptr, nullptr);
    m->session.game.SetNetPlay(true);
    m->gamen->Reversi->setGeometry(0, 0, 225, 225);
    const QString name = QStringLiteral("M%1").arg(i);
    int ok = 1;
    if (i == 0) m->socket->StartHost(QStringLiteral("127.0.0.1"), port, name, false, [&](int r) { ok = r; });
    else m->socket->ConnectToHost(QStringLiteral("127.0.0.1"), port, name, [&](int r) { ok = r; });
    if (!WaitUntil([&] { return ok != 1; }) || ok != 0) {
      state.SkipWithError("the room did not open");
      return;
    }
    room.push_back(std::move(m));
    if (!WaitUntil([&] { return room[0]->socket->lbUserName->count() == i + 1; })) {
      state.SkipWithError("a member did not join");
      return;
    }
  }
  WaitUntil([] { return false; }, 200);

  TIReversi* clicker = room[1]->gamen->Reversi;
  std::vector<double> latencies;
  for (auto _ : state) {
    NewGame(room);
    const QPoint at = clicker->CellRect(3, 2).center();
    const int x = at.x(), y = at.y();
    clicker->BanMouseMove(clicker, {}, x, y);
    QElapsedTimer t;
    t.start();
    clicker->BanMouseDown(clicker, Qt::LeftButton, {}, x, y);
    const bool painted = WaitUntil([&] {
      return std::all_of(room.begin(), room.end(), [](const auto& m) { return m->session.game.Board().FKomaCount == 5; });
    });
    const double us = static_cast<double>(t.nsecsElapsed()) / 1000.0;
    if (!painted) {
      state.SkipWithError("a board missed the move");
      break;
    }
    state.SetIterationTime(us / 1e6);
    latencies.push_back(us);
  }
  std::sort(latencies.begin(), latencies.end());
  auto at = [&](double q) {
    if (latencies.empty()) return 0.0;
    return latencies[std::min(latencies.size() - 1, static_cast<std::size_t>(q * static_cast<double>(latencies.size())))];
  };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);

  for (auto& m : room) m->socket->close();
  WaitUntil([] { return platform::Worker::Running() == 0; });
  // The forms go in reverse order; the sockets before their game screens.
  while (!room.empty()) {
    room.back()->socket.reset();
    room.back()->gamen.reset();
    room.pop_back();
  }
}

BENCHMARK(BM_ClickToEveryBoard)->ArgName("members")->Arg(10)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

}  // namespace
