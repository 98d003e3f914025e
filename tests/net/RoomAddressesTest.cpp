// Where a host listens, and what it tells others about where it can be reached.
#include <gtest/gtest.h>

#include "net/RoomAddresses.h"

namespace {

IpAddress A(const char* text) { return *IpAddress::FromText(QString::fromLatin1(text)); }

TEST(RoomAddresses, ListensEverywhereUnlessAnAddressBeyondLoopbackIsNamed) {
  const QString me = QStringLiteral("vm");
  EXPECT_TRUE(PlanListening(me, me, {A("192.168.1.20")}).everywhere) << "the computer's own name";
  EXPECT_TRUE(PlanListening(QStringLiteral("VM"), me, {}).everywhere);
  EXPECT_TRUE(PlanListening(QStringLiteral("localhost"), me, {A("127.0.0.1"), A("::1")}).everywhere);
  EXPECT_TRUE(PlanListening(QStringLiteral("127.0.1.1"), me, {A("127.0.1.1")}).everywhere);
  EXPECT_TRUE(PlanListening(QStringLiteral("0.0.0.0"), me, {A("0.0.0.0")}).everywhere);
  const ListenPlan named = PlanListening(QStringLiteral("lan.example"), me, {A("192.168.1.20"), A("fd00::20")});
  EXPECT_FALSE(named.everywhere);
  EXPECT_EQ(named.address, A("192.168.1.20"));
}

TEST(RoomAddresses, TheAddressLineListsTheInterfacesGlobalOnesFirst) {
  const std::vector<platform::InterfaceAddress> interfaces = {
      {QStringLiteral("lo"), A("127.0.0.1")},      {QStringLiteral("lo"), A("::1")},
      {QStringLiteral("eth0"), A("fe80::20")},     {QStringLiteral("eth0"), A("2001:db8::20")},
      {QStringLiteral("eth0"), A("192.168.1.20")}, {QStringLiteral("wlan0"), A("2a00:1450::20")},
      {QStringLiteral("eth1"), A("192.168.1.20")}};
  const std::vector<IpAddress> advertised = AdvertisedAddresses(interfaces);
  EXPECT_EQ(advertised, (std::vector<IpAddress>{A("2a00:1450::20"), A("192.168.1.20"), A("2001:db8::20")}));
  EXPECT_EQ(AddressLine(advertised, 5000),
            QStringLiteral("この部屋のアドレス: [2a00:1450::20]:5000, 192.168.1.20:5000, [2001:db8::20]:5000"));
  EXPECT_EQ(AddressLine({}, 5000), QString());
  EXPECT_EQ(InternetLine(A("203.0.113.5"), 5000), QStringLiteral("インターネットからは 203.0.113.5:5000"));
}

TEST(RoomAddresses, ARouterIsAskedOnlyBehindAPrivateIPv4Address) {
  EXPECT_TRUE(BehindRouter({A("192.168.1.20"), A("2001:db8::20")}));
  EXPECT_TRUE(BehindRouter({A("100.64.3.4")}));
  EXPECT_FALSE(BehindRouter({A("192.168.1.20"), A("8.8.4.4")}));
  EXPECT_FALSE(BehindRouter({A("2a00:1450::20")}));
  EXPECT_FALSE(BehindRouter({}));
}

}  // namespace
