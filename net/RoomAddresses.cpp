#include "net/RoomAddresses.h"

#include <QStringList>

#include <algorithm>

ListenPlan PlanListening(const QString& hostName, const QString& computerName, const std::vector<IpAddress>& resolved) {
  // On Linux the computer's own name usually resolves to loopback: a room there would be
  // reachable from nowhere but this machine.
  if (hostName.compare(computerName, Qt::CaseInsensitive) == 0 || resolved.empty()) return {};
  const IpAddress& first = resolved.front();
  if (first.IsLoopback() || first.IsUnspecified()) return {};
  return {false, first};
}

std::vector<IpAddress> AdvertisedAddresses(const std::vector<platform::InterfaceAddress>& interfaces) {
  std::vector<IpAddress> out;
  for (const platform::InterfaceAddress& i : interfaces) {
    const IpAddress& a = i.address;
    if (a.IsLoopback() || a.IsUnspecified() || (!a.IsV4() && a.IsLinkLocal())) continue;
    if (std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
  }
  std::stable_sort(out.begin(), out.end(), [](const IpAddress& a, const IpAddress& b) {
    if (a.IsGlobal() != b.IsGlobal()) return a.IsGlobal();
    return a.IsV4() && !b.IsV4();
  });
  return out;
}

bool BehindRouter(const std::vector<IpAddress>& addresses) {
  const auto v4 = [](const IpAddress& a) { return a.IsV4(); };
  const bool privateV4 = std::any_of(addresses.begin(), addresses.end(), [&](const IpAddress& a) { return v4(a) && a.IsPrivate(); });
  const bool globalV4 = std::any_of(addresses.begin(), addresses.end(), [&](const IpAddress& a) { return v4(a) && a.IsGlobal(); });
  return privateV4 && !globalV4;
}

QString AddressLine(const std::vector<IpAddress>& addresses, std::uint16_t port) {
  if (addresses.empty()) return {};
  QStringList endpoints;
  for (const IpAddress& a : addresses) endpoints << a.EndpointText(port);
  return QStringLiteral("この部屋のアドレス: ") + endpoints.join(QStringLiteral(", "));
}

QString InternetLine(const IpAddress& external, std::uint16_t port) {
  return QStringLiteral("インターネットからは ") + external.EndpointText(port);
}

QString RouterRefusedLine() { return QStringLiteral("ルーターのポートを開けませんでした"); }
