// Rooms between machines: each machine is a network namespace made here, joined to the others
// by veth pairs, with a room_node in it. Needs root; without the rights each test skips itself.
// Nothing is sent to any address outside these namespaces.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

#include "tests/net/WirePeer.h"
#include "tests/support/Files.h"

namespace {

bool Execute(const QStringList& command) {
  QProcess p;
  p.start(command.front(), command.mid(1));
  return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString Output(const QStringList& command) {
  QProcess p;
  p.start(command.front(), command.mid(1));
  p.waitForFinished(10000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Network namespaces named after this process, removed with everything in them at the end.
class Machines {
 public:
  Machines() : tag_(QString::number(::getpid() % 100000)) {}
  ~Machines() {
    for (const QString& name : made_) Execute({"ip", "netns", "del", name});
  }
  static QString WhyNot() {
    if (::geteuid() != 0) return QStringLiteral("network namespaces need root");
    const QString probe = QStringLiteral("velmprobe%1").arg(::getpid());
    if (!Execute({"ip", "netns", "add", probe})) return QStringLiteral("`ip netns add` does not work here");
    Execute({"ip", "netns", "del", probe});
    return {};
  }
  QString Make(const QString& role) {
    const QString name = QStringLiteral("velm%1%2").arg(role, tag_);
    EXPECT_TRUE(Execute({"ip", "netns", "add", name}));
    made_ << name;
    Execute({"ip", "-n", name, "link", "set", "lo", "up"});
    return name;
  }
  // A cable between two machines, with the addresses each end gets ("10.1.2.3/24", "fd00::3/64").
  void Cable(const QString& a, const QStringList& aAddresses, const QString& b, const QStringList& bAddresses) {
    const QString end = QStringLiteral("v%1%2").arg(tag_).arg(cables_++);
    const QString aEnd = end + "a", bEnd = end + "b";
    ASSERT_TRUE(Execute({"ip", "link", "add", aEnd, "type", "veth", "peer", "name", bEnd}));
    for (const auto& [ns, dev, addresses] : {std::tuple{a, aEnd, aAddresses}, std::tuple{b, bEnd, bAddresses}}) {
      ASSERT_TRUE(Execute({"ip", "link", "set", dev, "netns", ns}));
      for (const QString& address : addresses) {
        QStringList add = {"ip", "-n", ns, "addr", "add", address, "dev", dev};
        if (address.contains(':')) add << "nodad";  // usable at once
        ASSERT_TRUE(Execute(add));
      }
      ASSERT_TRUE(Execute({"ip", "-n", ns, "link", "set", dev, "up"}));
    }
  }
  void Route(const QString& ns, const QString& via) { ASSERT_TRUE(Execute({"ip", "-n", ns, "route", "add", "default", "via", via})); }

 private:
  QString tag_;
  QStringList made_;
  int cables_ = 0;
};

// A program in a namespace, talking in lines.
class Program {
 public:
  Program(const QString& ns, const QString& program, const QStringList& args) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral("ip"), QStringList{"netns", "exec", ns, program} + args);
  }
  ~Program() { Stop(); }
  // Waits for a line that holds `part`; answers it, or nothing.
  QString WaitForLine(const QString& part, int timeoutMs = 15000) {
    QString found;
    WaitUntil([&] {
      Read();
      for (const QString& line : lines_)
        if (line.contains(part)) {
          found = line;
          return true;
        }
      return false;
    }, timeoutMs);
    return found;
  }
  int Count(const QString& part) {
    Read();
    return static_cast<int>(std::count_if(lines_.begin(), lines_.end(), [&](const QString& l) { return l.contains(part); }));
  }
  void Tell(const QString& line) { process_.write((line + "\n").toUtf8()); }
  // Asks a room_node to leave, and waits for it.
  bool Quit() {
    Tell(QStringLiteral("quit"));
    return WaitUntil([&] { return process_.state() == QProcess::NotRunning; }, 10000);
  }
  void Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(3000);
  }
  QString All() {
    Read();
    return lines_.join('\n');
  }

 private:
  void Read() {
    partial_ += QString::fromUtf8(process_.readAll());
    const qsizetype end = partial_.lastIndexOf('\n');
    if (end < 0) return;
    lines_ += partial_.left(end).split('\n');
    partial_ = partial_.mid(end + 1);
  }
  QProcess process_;
  QStringList lines_;
  QString partial_;
};

class MachinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString why = Machines::WhyNot();
    if (!why.isEmpty()) GTEST_SKIP() << "skipped: " << why.toStdString();
  }
  static Program Node(const QString& ns, const QStringList& args) { return Program(ns, QStringLiteral(ROOM_NODE), args); }
};

TEST_F(MachinesTest, AGuestOnAnotherMachineJoinsOverIPv4AndIPv6AndPlays) {
  Machines machines;
  const QString host = machines.Make("h"), guest = machines.Make("g");
  machines.Cable(host, {"10.77.0.1/24", "fd77::1/64"}, guest, {"10.77.0.2/24", "fd77::2/64"});
  // Hosted under the computer's own name, which resolves to loopback here as on Debian.
  Program oya = Node(host, {"host", "-", "5000", "Oya"});
  ASSERT_EQ(oya.WaitForLine("started"), "started 0") << oya.All().toStdString();
  EXPECT_EQ(oya.WaitForLine("line"), "line この部屋のアドレス: 10.77.0.1:5000, [fd77::1]:5000");
  EXPECT_EQ(oya.WaitForLine("address"), "address 10.77.0.1");

  int number = 0;
  for (const QString address : {"10.77.0.1", "fd77::1"}) {
    SCOPED_TRACE(address.toStdString());
    ++number;
    const QString name = QStringLiteral("Ko%1").arg(number);
    Program ko = Node(guest, {"join", address, "5000", name});
    ASSERT_EQ(ko.WaitForLine("started"), "started 0") << ko.All().toStdString();
    EXPECT_EQ(ko.WaitForLine("address"), "address " + address);
    // The guest's client number is 1 each time: the first guest has left before the second.
    ASSERT_FALSE(oya.WaitForLine(QStringLiteral("log No.1(%1):%1が入室しました").arg(name)).isEmpty()) << oya.All().toStdString();
    ko.Tell(QStringLiteral("move 3 2 1"));
    ko.Tell(QStringLiteral("chat hello from ") + address);
    EXPECT_FALSE(ko.WaitForLine("move 3 2 1").isEmpty()) << "the move comes back through the host";
    EXPECT_FALSE(oya.WaitForLine(QStringLiteral("log No.1(%1):hello from %2").arg(name, address)).isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return oya.Count(QStringLiteral("move 3 2 1")) == number; }));
    EXPECT_TRUE(ko.Quit());
  }
  EXPECT_TRUE(oya.Quit());
}

// A home network: the host behind a router in a machine of its own, whose other side is the
// internet (a cable to nowhere).
class HomeRouter : public MachinesTest {
 protected:
  void SetUp() override {
    MachinesTest::SetUp();
    if (IsSkipped()) return;
    if (!QFile::exists(QStringLiteral("/usr/sbin/miniupnpd")) || !QFile::exists(QStringLiteral("/usr/sbin/nft")))
      GTEST_SKIP() << "skipped: miniupnpd and nft are not installed";
    machines_ = std::make_unique<Machines>();
    home = machines_->Make("home");
    router = machines_->Make("rt");
    machines_->Cable(home, {"192.168.77.2/24"}, router, {"192.168.77.1/24"});
    machines_->Cable(router, {"11.0.0.5/24"}, router, {});
    machines_->Route(home, "192.168.77.1");
  }

  // Debian's miniupnpd with its nftables chains, speaking UPnP IGD and NAT-PMP or only the latter.
  std::unique_ptr<Program> StartRouter(bool upnp) {
    const QString rules = dir_.filePath("init.nft");
    EXPECT_TRUE(WriteFile(
        rules,
        "table inet filter {\n"
        "  chain forward { type filter hook forward priority 0; policy accept; jump miniupnpd; }\n"
        "  chain miniupnpd { }\n"
        "  chain prerouting { type nat hook prerouting priority -100; policy accept; jump prerouting_miniupnpd; }\n"
        "  chain postrouting { type nat hook postrouting priority 100; policy accept; jump postrouting_miniupnpd; }\n"
        "  chain prerouting_miniupnpd { }\n  chain postrouting_miniupnpd { }\n}\n"));
    EXPECT_TRUE(Execute({"ip", "netns", "exec", router, "nft", "-f", rules}));
    const QString conf = dir_.filePath("miniupnpd.conf");
    const QString wan = Output({"ip", "-n", router, "-o", "addr", "show", "to", "11.0.0.5"}).section(' ', 1, 1);
    const QString lan = Output({"ip", "-n", router, "-o", "addr", "show", "to", "192.168.77.1"}).section(' ', 1, 1);
    EXPECT_TRUE(WriteFile(conf, QStringLiteral("ext_ifname=%1\nlistening_ip=%2\nport=0\nenable_natpmp=yes\nenable_upnp=%3\n"
                                               "secure_mode=yes\nlease_file=%4\nuuid=3d3cec3a-8cf0-11e0-98ee-001a6b5ec1f8\n"
                                               "allow 1024-65535 192.168.77.0/24 1024-65535\ndeny 0-65535 0.0.0.0/0 0-65535\n")
                                    .arg(wan, lan, upnp ? "yes" : "no", dir_.filePath("leases"))
                                    .toUtf8()));
    EXPECT_TRUE(WriteFile(dir_.filePath("leases")));
    // Its log is read as it is written, not when it ends.
    auto daemon = std::make_unique<Program>(router, QStringLiteral("stdbuf"),
                                            QStringList{"-oL", "-eL", "/usr/sbin/miniupnpd", "-f", conf, "-d"});
    // The NAT-PMP line comes last, whichever protocols it speaks.
    EXPECT_FALSE(daemon->WaitForLine("miniupnpd", 15000).isEmpty());
    EXPECT_FALSE(daemon->WaitForLine("Listening for NAT-PMP", 15000).isEmpty()) << daemon->All().toStdString();
    return daemon;
  }

  bool Forwarded(int port) {
    return Output({"ip", "netns", "exec", router, "nft", "list", "chain", "inet", "filter", "prerouting_miniupnpd"})
        .contains(QStringLiteral("dport %1").arg(port));
  }

  // Hosts with the router asked, a lease of 6 s renewed every 1.5 s.
  Program Host() { return Node(home, {"host", "-", "5000", "Oya", "6", "1500"}); }

  QString home, router;
  QTemporaryDir dir_;
  std::unique_ptr<Machines> machines_;
};

TEST_F(HomeRouter, UPnPMapsThePortRenewsItAndRemovesItWhenTheRoomCloses) {
  auto daemon = StartRouter(true);
  Program oya = Host();
  ASSERT_EQ(oya.WaitForLine("started"), "started 0");
  EXPECT_EQ(oya.WaitForLine("line この"), "line この部屋のアドレス: 192.168.77.2:5000");
  EXPECT_EQ(oya.WaitForLine("line イ"), "line インターネットからは 11.0.0.5:5000") << oya.All().toStdString();
  EXPECT_TRUE(Forwarded(5000));
  const QString added = QStringLiteral("AddPortMapping: ext port 5000 to 192.168.77.2:5000");
  EXPECT_TRUE(WaitUntil([&] { return daemon->Count(added) >= 3; }, 10000)) << "renewed while the room is open";
  EXPECT_TRUE(Forwarded(5000));
  EXPECT_TRUE(oya.Quit());
  EXPECT_TRUE(WaitUntil([&] { return !Forwarded(5000); }, 5000)) << "removed when it closes";
  EXPECT_GE(daemon->Count(QStringLiteral("DeletePortMapping: external port: 5000")), 1);
}

TEST_F(HomeRouter, ARouterThatSpeaksOnlyNatPmpIsAskedThatWay) {
  auto daemon = StartRouter(false);
  Program oya = Host();
  ASSERT_EQ(oya.WaitForLine("started"), "started 0");
  EXPECT_EQ(oya.WaitForLine("line イ"), "line インターネットからは 11.0.0.5:5000") << daemon->All().toStdString();
  EXPECT_TRUE(Forwarded(5000));
  EXPECT_TRUE(WaitUntil([&] { return daemon->Count(QStringLiteral("NAT-PMP port mapping request : 5000")) >= 3; }, 10000));
  EXPECT_TRUE(oya.Quit());
  EXPECT_TRUE(WaitUntil([&] { return !Forwarded(5000); }, 5000));
}

TEST_F(HomeRouter, WithoutARouterTheRoomSaysSoAndGoesOn) {
  Program oya = Host();
  ASSERT_EQ(oya.WaitForLine("started"), "started 0");
  EXPECT_EQ(oya.WaitForLine("line ル", 10000), "line ルーターのポートを開けませんでした");
  EXPECT_TRUE(oya.Quit());
}

}  // namespace
