#pragma once
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// Values carried by a network resource entry, as the network neighbourhood reports them.
inline constexpr uint32_t kResourceScopeGlobalNet = 2;
inline constexpr uint32_t kResourceTypeAny = 0;
inline constexpr uint32_t kResourceTypeDisk = 1;
inline constexpr uint32_t kResourceUsageAll = 0;
inline constexpr uint32_t kResourceUsageConnectable = 1;
inline constexpr uint32_t kResourceUsageContainer = 2;
inline constexpr uint32_t kDisplayTypeGeneric = 0;
inline constexpr uint32_t kDisplayTypeDomain = 1;
inline constexpr uint32_t kDisplayTypeServer = 2;
inline constexpr uint32_t kDisplayTypeShare = 3;
inline constexpr uint32_t kDisplayTypeNetwork = 6;

// Results of an enumeration step.
inline constexpr int kEnumOk = 0;
inline constexpr int kErrorNoMoreItems = 259;
inline constexpr int kErrorNoNetwork = 1222;
inline constexpr int kErrorExtended = 1208;

// At most this many entries come back from one enumeration step.
inline constexpr std::size_t kEnumMaxEntries = 508;

// One network resource: a provider, a domain or workgroup, a server or a share.
// A name that is not set is std::nullopt (an absent pointer), which is not the same as empty.
// A server's remote name begins with two backslashes: "\\host".
struct NetResource {
  uint32_t scope = 0;
  uint32_t type = 0;
  uint32_t displayType = 0;
  uint32_t usage = 0;
  std::optional<QString> localName;
  std::optional<QString> remoteName;
  std::optional<QString> comment;
  std::optional<QString> provider;

  bool HasAnyName() const { return localName || remoteName || comment || provider; }
};

// The entries a neighbourhood lists, each naming the provider it comes from.
NetResource ProviderEntry(const QString& provider);  // the provider's whole network
NetResource DomainEntry(const QString& name, const QString& provider);
NetResource ServerEntry(const QString& host, const QString& provider);  // remote name "\\" + host
NetResource ShareEntry(const QString& host, const QString& share, const QString& provider);  // "\\host\share"

// One open level of the neighbourhood. Destroying it closes the enumeration.
class NetEnumeration {
 public:
  virtual ~NetEnumeration() = default;
  // Clears buffer and fills it with the next entries, at most maxEntries of them.
  // Answers kEnumOk with at least one entry, kErrorNoMoreItems at the end, or another error.
  virtual int Next(std::vector<NetResource>& buffer, std::size_t maxEntries) = 0;
};

// Where the entries come from. One walk uses it from one thread at a time.
class NetNeighbourhood {
 public:
  virtual ~NetNeighbourhood() = default;
  // Opens the top level (parent == nullptr) or the level inside a container entry.
  // Answers nullptr when the level cannot be opened.
  virtual std::unique_ptr<NetEnumeration> Open(uint32_t scope, uint32_t type, uint32_t usage,
                                               const NetResource* parent) = 0;
};

// The neighbourhood of this machine: the machines announced by DNS-SD on the local network.
std::shared_ptr<NetNeighbourhood> DefaultNetNeighbourhood();

}  // namespace platform
