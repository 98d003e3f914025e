#include "platform/MemoryNeighbourhood.h"

namespace platform {

MemoryNeighbourhood::Level::Level() = default;
MemoryNeighbourhood::Level::Level(std::vector<Node> list) : entries(std::move(list)) {}

class MemoryNeighbourhood::Enumeration : public NetEnumeration {
 public:
  Enumeration(MemoryNeighbourhood& owner, const Level& level) : owner_(owner), level_(level) {}
  ~Enumeration() override { owner_.Closed(); }

  int Next(std::vector<NetResource>& buffer, std::size_t maxEntries) override {
    buffer.clear();
    const std::size_t end = level_.errorAfter ? std::min(*level_.errorAfter, level_.entries.size())
                                              : level_.entries.size();
    if (next_ >= end) return level_.errorAfter ? level_.error : kErrorNoMoreItems;
    const std::size_t count = std::min({end - next_, maxEntries, level_.perCall});
    for (std::size_t i = 0; i < count; ++i) buffer.push_back(level_.entries[next_ + i].entry);
    next_ += count;
    owner_.Delivered(count);
    return kEnumOk;
  }

 private:
  MemoryNeighbourhood& owner_;
  const Level& level_;
  std::size_t next_ = 0;
};

namespace {
const QString kProviderName = QStringLiteral("Memory Network");
}  // namespace

NetResource MemoryNeighbourhood::Provider(const QString& name) { return ProviderEntry(name); }

NetResource MemoryNeighbourhood::Domain(const QString& name) { return DomainEntry(name, kProviderName); }

NetResource MemoryNeighbourhood::Server(const QString& name) { return ServerEntry(name, kProviderName); }

NetResource MemoryNeighbourhood::Share(const QString& server, const QString& share) {
  return ShareEntry(server, share, kProviderName);
}

MemoryNeighbourhood::MemoryNeighbourhood(Level top) : top_(std::move(top)) {}

std::unique_ptr<NetEnumeration> MemoryNeighbourhood::Open(uint32_t, uint32_t, uint32_t,
                                                          const NetResource* parent) {
  const Level* level = parent ? Find(top_, *parent) : &top_;
  std::lock_guard lock(mutex_);
  opened_.push_back(parent ? parent->remoteName.value_or(QString()) : QString());
  if (!level || level->openFails) return nullptr;
  ++openNow_;
  return std::make_unique<Enumeration>(*this, *level);
}

const MemoryNeighbourhood::Level* MemoryNeighbourhood::Find(const Level& level,
                                                            const NetResource& parent) const {
  for (const Node& node : level.entries) {
    if (node.entry.remoteName == parent.remoteName && node.entry.displayType == parent.displayType)
      return &node.inside;
    if (const Level* found = Find(node.inside, parent)) return found;
  }
  return nullptr;
}

void MemoryNeighbourhood::Delivered(std::size_t count) {
  std::unique_lock lock(mutex_);
  ++steps_;
  held_ = true;
  released_.wait(lock, [&] { return !holdAfter_ || delivered_ < *holdAfter_; });
  held_ = false;
  delivered_ += count;
}

void MemoryNeighbourhood::Closed() {
  std::lock_guard lock(mutex_);
  --openNow_;
}

QStringList MemoryNeighbourhood::Opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

int MemoryNeighbourhood::OpenNow() const {
  std::lock_guard lock(mutex_);
  return openNow_;
}

int MemoryNeighbourhood::Steps() const {
  std::lock_guard lock(mutex_);
  return steps_;
}

bool MemoryNeighbourhood::Held() const {
  std::lock_guard lock(mutex_);
  return held_ && holdAfter_ && delivered_ >= *holdAfter_;
}

void MemoryNeighbourhood::HoldAfter(std::size_t entries) {
  std::lock_guard lock(mutex_);
  holdAfter_ = entries;
}

void MemoryNeighbourhood::Release() {
  {
    std::lock_guard lock(mutex_);
    holdAfter_.reset();
  }
  released_.notify_all();
}

}  // namespace platform
