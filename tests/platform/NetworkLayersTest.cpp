// What the network asks of the system: addresses as users type them, what kind each is, and
// the soft limit of open files.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include "platform/IpAddress.h"
#include "platform/OpenFilesLimit.h"

using platform::IpAddress;

namespace {

IpAddress A(const char* text) { return *IpAddress::FromText(QString::fromLatin1(text)); }

TEST(IpAddress, ReadsWhatUsersTypeAndWritesItBack) {
  struct Case {
    const char* typed;
    const char* text;
    const char* endpoint;
  };
  for (const Case& c : {Case{"192.168.1.20", "192.168.1.20", "192.168.1.20:5000"},
                        Case{" 10.0.0.1 ", "10.0.0.1", "10.0.0.1:5000"},
                        Case{"127.1", "127.0.0.1", "127.0.0.1:5000"},
                        Case{"::1", "::1", "[::1]:5000"},
                        Case{"[2001:DB8::20]", "2001:db8::20", "[2001:db8::20]:5000"},
                        Case{"fe80::1%1", "fe80::1%lo", "[fe80::1%lo]:5000"}}) {
    SCOPED_TRACE(c.typed);
    const std::optional<IpAddress> a = IpAddress::FromText(QString::fromLatin1(c.typed));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Text(), QString::fromLatin1(c.text));
    EXPECT_EQ(a->EndpointText(5000), QString::fromLatin1(c.endpoint));
  }
  for (const char* name : {"", "vm", "host.example", "[::1", "1.2.3.4.5", "::1%nosuchinterface", "2001:db8::g"})
    EXPECT_FALSE(IpAddress::FromText(QString::fromLatin1(name))) << name;
  EXPECT_FALSE(IpAddress::FromText(QStringLiteral(u"ほすと")));
}

TEST(IpAddress, KnowsLoopbackPrivateLinkLocalAndGlobal) {
  EXPECT_TRUE(A("127.0.1.1").IsLoopback());
  EXPECT_TRUE(A("::1").IsLoopback());
  EXPECT_TRUE(A("::ffff:127.0.0.1").IsLoopback());
  EXPECT_EQ(A("::ffff:10.1.2.3").Unmapped(), A("10.1.2.3"));
  for (const char* p : {"10.1.2.3", "172.16.0.1", "172.31.255.255", "192.168.1.20", "100.64.0.1", "fd00::2"})
    EXPECT_TRUE(A(p).IsPrivate()) << p;
  for (const char* n : {"172.32.0.1", "11.0.0.1", "192.169.0.1", "2001:db8::1"}) EXPECT_FALSE(A(n).IsPrivate()) << n;
  EXPECT_TRUE(A("169.254.1.1").IsLinkLocal());
  EXPECT_TRUE(A("fe80::1").IsLinkLocal());
  for (const char* g : {"8.8.8.8", "2a00:1450::1"}) EXPECT_TRUE(A(g).IsGlobal()) << g;
  for (const char* n : {"192.168.1.20", "203.0.113.5", "192.0.2.2", "2001:db8::20", "224.0.0.1", "ff02::1", "0.0.0.0", "::"})
    EXPECT_FALSE(A(n).IsGlobal()) << n;
  EXPECT_TRUE(IpAddress::AnyV6().IsUnspecified());
}

TEST(OpenFilesLimit, TheSoftLimitRisesToTheHardOne) {
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
  rlimit lowered = before;
  lowered.rlim_cur = std::min<rlim_t>(before.rlim_max, 256);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
  const long now = platform::RaiseOpenFilesLimit();
  rlimit after{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &after), 0);
  EXPECT_EQ(after.rlim_cur, before.rlim_max);
  if (after.rlim_cur != RLIM_INFINITY) {
    EXPECT_EQ(now, static_cast<long>(after.rlim_cur));
  }
}

}  // namespace
