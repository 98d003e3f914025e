#include "platform/NetNeighbourhood.h"

#include "platform/AvahiNeighbourhood.h"

namespace platform {
namespace {

NetResource Entry(uint32_t displayType, const QString& remoteName, const QString& provider,
                  uint32_t usage = kResourceUsageContainer) {
  NetResource entry;
  entry.scope = kResourceScopeGlobalNet;
  entry.type = kResourceTypeAny;
  entry.displayType = displayType;
  entry.usage = usage;
  entry.remoteName = remoteName;
  entry.provider = provider;
  return entry;
}

}  // namespace

NetResource ProviderEntry(const QString& provider) { return Entry(kDisplayTypeNetwork, provider, provider); }

NetResource DomainEntry(const QString& name, const QString& provider) {
  return Entry(kDisplayTypeDomain, name, provider);
}

NetResource ServerEntry(const QString& host, const QString& provider) {
  NetResource entry = Entry(kDisplayTypeServer, QStringLiteral("\\\\") + host, provider);
  entry.comment = QString();
  return entry;
}

NetResource ShareEntry(const QString& host, const QString& share, const QString& provider) {
  NetResource entry = Entry(kDisplayTypeShare, QStringLiteral("\\\\%1\\%2").arg(host, share), provider,
                            kResourceUsageConnectable);
  entry.type = kResourceTypeDisk;
  return entry;
}

std::shared_ptr<NetNeighbourhood> DefaultNetNeighbourhood() { return std::make_shared<AvahiNeighbourhood>(); }

}  // namespace platform
