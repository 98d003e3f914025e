// The DNS-SD neighbourhood against real daemons: a D-Bus and an mDNS daemon of the test's own,
// the latter in private network, mount and process namespaces, so nothing reaches the real network
// and nothing of the machine's own daemons is touched.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <csignal>

#include "tests/lan/RunWalk.h"
#include "platform/AvahiNeighbourhood.h"
#include "tests/support/Files.h"

using namespace std::chrono_literals;

namespace {

// The bus address is fixed for the whole process: the D-Bus library reads it once.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder(QDir::tempPath() + "/velm-lan-XXXXXX");
  return folder;
}
QString BusPath() { return Folder().filePath("bus"); }

struct WalkResult {
  QStringList captions;
  qint64 ms = 0;
};

WalkResult Walk(std::chrono::milliseconds browseTime) {
  WalkResult result;
  TWNet walk(std::make_shared<platform::AvahiNeighbourhood>(browseTime),
             [&](const QString& caption, int) { result.captions << caption; });
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(RunWalk(walk));
  result.ms = clock.elapsed();
  return result;
}

void DieWithTheTest() { prctl(PR_SET_PDEATHSIG, SIGKILL); }

class PrivateDaemons {
 public:
  PrivateDaemons() { qputenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + BusPath()).toUtf8()); }
  ~PrivateDaemons() {
    for (QProcess* process : {&avahi_, &bus_}) {
      if (process->state() == QProcess::NotRunning) continue;
      process->kill();
      process->waitForFinished(5000);
    }
    QFile::remove(BusPath());
  }

  // Empty when the bus runs, else why not.
  QString StartBus() {
    const QString config = Folder().filePath("bus.conf");
    EXPECT_TRUE(WriteFile(config, QString(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
)").arg(BusPath()).toUtf8()));
    bus_.setChildProcessModifier(DieWithTheTest);
    bus_.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + config});
    if (!bus_.waitForStarted(5000)) return "dbus-daemon cannot be started: " + bus_.errorString();
    if (!bus_.waitForReadyRead(5000)) return "dbus-daemon did not come up: " + bus_.readAllStandardError();
    return {};
  }

  // Starts the mDNS daemon as `host`, also announcing a service of `peer`, a second machine.
  // Empty when it answers on the bus, else why not.
  QString StartAvahi(const QString& host, const QString& peer) {
    const QString services = Folder().filePath("services");
    QDir().mkpath(services);
    EXPECT_TRUE(WriteFile(services + "/ssh.service", Service("_ssh._tcp", 22, {})));  // the same machine again
    EXPECT_TRUE(WriteFile(services + "/peer.service", Service("_smb._tcp", 445, peer + ".local")));
    const QString config = Folder().filePath("avahi.conf");
    EXPECT_TRUE(WriteFile(config, QString("[server]\nhost-name=%1\ndomain-name=local\nuse-ipv4=yes\nuse-ipv6=no\n"
                                          "allow-interfaces=velm0\nenable-dbus=yes\n[wide-area]\nenable-wide-area=no\n"
                                          "[publish]\npublish-hinfo=no\npublish-workstation=yes\n")
                                      .arg(host)
                                      .toUtf8()));
    // A network of its own (a pair of virtual links, nothing beyond them), its own /run for the
    // pid file, and our services in place of the machine's.
    const QString script = QString(
        "set -e\n"
        "ip link set lo up\n"
        "ip link add velm0 type veth peer name velm1\n"
        "ip link set velm0 up; ip link set velm1 up\n"
        "ip addr add 10.251.0.1/24 dev velm0\n"
        "mount -t tmpfs tmpfs /run\n"
        "mkdir -p /run/avahi-daemon\n"
        "mount --bind '%1' /etc/avahi/services\n"
        "exec avahi-daemon -f '%2' --no-drop-root --no-chroot --no-rlimits --no-proc-title\n")
                               .arg(services, config);
    avahi_.setChildProcessModifier(DieWithTheTest);
    avahi_.setProcessChannelMode(QProcess::MergedChannels);
    avahi_.start("unshare", {"--fork", "--pid", "--kill-child", "--net", "--mount", "--", "sh", "-c", script});
    if (!avahi_.waitForStarted(5000)) return "unshare cannot be started: " + avahi_.errorString();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000) {
      if (avahi_.state() == QProcess::NotRunning)
        return "avahi-daemon cannot run in a private namespace here: " + avahi_.readAll();
      if (platform::AvahiNeighbourhood(0ms).Open(0, 0, 0, nullptr)) return {};
      QThread::msleep(100);
    }
    return "avahi-daemon did not answer on the bus: " + avahi_.readAll();
  }

  QString AvahiOutput() { return avahi_.readAll(); }

 private:
  static QByteArray Service(const QString& type, int port, const QString& hostName) {
    return QString("<?xml version=\"1.0\" standalone='no'?>\n<service-group>\n  <name>%1</name>\n"
                   "  <service>\n    <type>%1</type>\n    <port>%2</port>\n%3  </service>\n</service-group>\n")
        .arg(type)
        .arg(port)
        .arg(hostName.isEmpty() ? QString() : "    <host-name>" + hostName + "</host-name>\n")
        .toUtf8();
  }

  QProcess bus_;
  QProcess avahi_;
};

}  // namespace

TEST(AvahiNeighbourhood, WithoutAnyBusTheWalkEndsAtOnceWithNothing) {
  PrivateDaemons none;  // sets the address, starts nothing
  const WalkResult result = Walk(3s);
  EXPECT_TRUE(result.captions.isEmpty());
  EXPECT_LT(result.ms, 500);
}

TEST(AvahiNeighbourhood, WithoutTheDaemonTheWalkEndsAtOnceWithNothing) {
  PrivateDaemons daemons;
  const QString why = daemons.StartBus();
  if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();
  const WalkResult result = Walk(3s);
  EXPECT_TRUE(result.captions.isEmpty());
  EXPECT_LT(result.ms, 500);
}

TEST(AvahiNeighbourhood, ListsEachAnnouncedMachineOnce) {
  PrivateDaemons daemons;
  QString why = daemons.StartBus();
  const QString host = QString("velmtest-%1").arg(QCoreApplication::applicationPid());
  const QString peer = QString("velmpeer-%1").arg(QCoreApplication::applicationPid());
  if (why.isEmpty()) why = daemons.StartAvahi(host, peer);
  if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();

  const QStringList expected{host + ".local", peer + ".local"};
  QStringList found;
  QElapsedTimer clock;
  clock.start();
  // The daemon first makes sure of its name on the network, and only then announces; ask again
  // until it has.
  while (clock.elapsed() < 20000) {
    const WalkResult result = Walk(2s);
    EXPECT_LT(result.ms, 4000) << "one walk is bounded by its browse time";
    found = result.captions;
    std::sort(found.begin(), found.end());
    if (found.size() >= expected.size()) break;
    QThread::msleep(200);
  }
  QStringList sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(found, sorted) << daemons.AvahiOutput().toStdString();
}
