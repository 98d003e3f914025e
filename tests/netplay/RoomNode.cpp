// One machine of a room for the tests that put machines in network namespaces: hosts or joins
// with the program's own room, tells on stdout what happens and takes orders on stdin.
//   room_node host <name, or - for the computer's own> <port> <user> [<lease s> <renew ms>]
//   room_node join <name> <port> <user>
// Out: "started 0|1|2|3", "address <text>", "line <text>", "log <text>", "move x y side".
// In:  "chat <text>", "move x y side", "quit".
#include <QCoreApplication>
#include <QSocketNotifier>

#include <unistd.h>

#include <iostream>
#include <chrono>
#include <string>

#include "net/NetRoom.h"
#include "net/RoomRules.h"
#include "net/RoomView.h"
#include "platform/ComputerName.h"
#include "platform/Worker.h"

namespace {

void Say(const QString& what) {
  std::cout << what.toStdString() << std::endl;
}

class PrintingView : public RoomView {
 public:
  void ApplyRecord(const TNetRecord& r) override {
    if (r.Kind() == mkJoin || r.Kind() == mkChat || r.Kind() == mkLeave) Say(QStringLiteral("log ") + LogLine(r));
    if (r.Kind() == mkGame && r.Sub() == gsMoves)
      for (const _Rev& m : r.Moves()) Say(QStringLiteral("move %1 %2 %3").arg(m.x).arg(m.y).arg(m.value));
  }
  int PrivateAddressee() const override { return 0; }
  QString PlayerName(int) const override { return {}; }
  QByteArray FacePicture(int) const override { return {}; }
  void RoomLine(const QString& line) override { Say(QStringLiteral("line ") + line); }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 5) return 2;
  PrintingView view;
  NetRoom room(&view);
  const bool hosting = args[1] == QLatin1String("host");
  const QString name = args[2] == QLatin1String("-") ? platform::ComputerName() : args[2];
  const auto port = static_cast<std::uint16_t>(args[3].toUInt());
  const auto started = [&](NetRoom::Outcome outcome) {
    Say(QStringLiteral("started %1").arg(static_cast<int>(outcome)));
    Say(QStringLiteral("address ") + room.AddressText());
  };
  if (hosting) {
    NetRoom::HostOptions options;
    options.openRouterPort = args.size() >= 7;
    if (options.openRouterPort) {
      options.router.leaseSeconds = args[5].toInt();
      options.router.renewMs = args[6].toInt();
    }
    room.StartHost(name, port, args[4], options, started);
  } else {
    room.ConnectToHost(name, port, args[4], started);
  }

  // Orders may come several in one read: every whole line is taken.
  QSocketNotifier input(0, QSocketNotifier::Read);
  std::string pending;
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buf[4096];
    const ssize_t n = ::read(0, buf, sizeof buf);
    if (n <= 0) pending += "\nquit\n";
    else pending.append(buf, static_cast<std::size_t>(n));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const QString order = QString::fromStdString(pending.substr(0, end));
      pending.erase(0, end + 1);
      if (order == QLatin1String("quit")) {
        input.setEnabled(false);
        room.CloseRoom();
        QCoreApplication::quit();
        return;
      }
      if (order.startsWith(QLatin1String("chat "))) {
        TNetRecord chat;
        chat.SetKind(mkChat);
        chat.SetText(order.mid(5));
        room.SendRecord(chat);
      } else if (order.startsWith(QLatin1String("move "))) {
        const QStringList m = order.split(QLatin1Char(' '));
        room.SendRecord(OneMoveRecord(_Rev{m.value(1).toInt(), m.value(2).toInt(), m.value(3).toInt()}));
      }
    }
  });
  const int result = QCoreApplication::exec();
  room.CloseRoom();
  return platform::Worker::EndProgram(result, std::chrono::seconds(2));
}
