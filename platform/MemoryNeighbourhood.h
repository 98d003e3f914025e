#pragma once
#include <QStringList>
#include <condition_variable>
#include <mutex>

#include "platform/NetNeighbourhood.h"

namespace platform {

// A network neighbourhood built in memory, for tests: any tree of levels, with errors where a
// test wants them, a record of the levels opened, and a gate that holds the walk after a number
// of entries until the test releases it.
class MemoryNeighbourhood : public NetNeighbourhood {
 public:
  struct Node;
  struct Level {
    Level();
    Level(std::vector<Node> entries);  // NOLINT: a level is written as its list of entries
    std::vector<Node> entries;
    bool openFails = false;                    // the level cannot be opened at all
    std::optional<std::size_t> errorAfter;     // this many entries are delivered, then `error`
    int error = kErrorExtended;
    std::size_t perCall = kEnumMaxEntries;     // entries delivered by one step at most
  };
  struct Node {
    NetResource entry;
    Level inside;
  };

  static NetResource Provider(const QString& name);
  static NetResource Domain(const QString& name);
  static NetResource Server(const QString& name);  // remote name "\\" + name
  static NetResource Share(const QString& server, const QString& share);

  explicit MemoryNeighbourhood(Level top);

  std::unique_ptr<NetEnumeration> Open(uint32_t scope, uint32_t type, uint32_t usage,
                                       const NetResource* parent) override;

  // The remote names of the entries opened, in order; "" is the top level.
  QStringList Opened() const;
  // Levels opened and not yet closed.
  int OpenNow() const;
  // Steps that came back with entries, over all levels.
  int Steps() const;

  // After `entries` entries in all, the walk waits in its next step until Release().
  void HoldAfter(std::size_t entries);
  void Release();
  // The walk waits at the hold: nothing more comes until Release().
  bool Held() const;

 private:
  class Enumeration;
  const Level* Find(const Level& level, const NetResource& parent) const;
  void Delivered(std::size_t count);
  void Closed();

  const Level top_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  QStringList opened_;
  int openNow_ = 0;
  int steps_ = 0;
  std::size_t delivered_ = 0;
  std::optional<std::size_t> holdAfter_;
  bool held_ = false;
};

}  // namespace platform
