// The walk through the neighbourhood, run on the test's own thread against an in-memory tree.
#include <QObject>
#include <gtest/gtest.h>

#include "lan/MachineEntry.h"
#include "tests/lan/RunWalk.h"
#include "platform/MemoryNeighbourhood.h"

using platform::MemoryNeighbourhood;
using Level = MemoryNeighbourhood::Level;
using Node = MemoryNeighbourhood::Node;

namespace {

Node ServerWithShares(const QString& name) {
  return {MemoryNeighbourhood::Server(name),
          Level{{{MemoryNeighbourhood::Share(name, "DOCS"), {}}, {MemoryNeighbourhood::Share(name, "C"), {}}}}};
}

Node Domain(const QString& name, Level inside) { return {MemoryNeighbourhood::Domain(name), std::move(inside)}; }
Node Provider(const QString& name, Level inside) { return {MemoryNeighbourhood::Provider(name), std::move(inside)}; }

struct WalkResult {
  QStringList captions;
  std::vector<int> images;
  QStringList opened;
  int stillOpen = 0;
};

WalkResult Walk(Level top) {
  auto source = std::make_shared<MemoryNeighbourhood>(std::move(top));
  WalkResult result;
  TWNet walk(source, [&](const QString& caption, int image) {
    result.captions << caption;
    result.images.push_back(image);
  });
  EXPECT_TRUE(RunWalk(walk));
  result.opened = source->Opened();
  result.stillOpen = source->OpenNow();
  return result;
}

}  // namespace

TEST(Walk, WorkgroupWithThreeServersListsThreeNamesWithoutBackslashes) {
  const WalkResult result = Walk(Level{{Provider(
      "Microsoft Network", Level{{Domain("WORKGROUP", Level{{ServerWithShares("ALPHA"), ServerWithShares("BETA"),
                                                             ServerWithShares("GAMMA")}})}})}});
  EXPECT_EQ(result.captions, (QStringList{"ALPHA", "BETA", "GAMMA"}));
  EXPECT_EQ(result.images, (std::vector<int>{0, 0, 0}));
  // Providers and workgroups are opened, servers never: their shares stay unlisted and unvisited.
  EXPECT_EQ(result.opened, (QStringList{"", "Microsoft Network", "WORKGROUP"}));
  EXPECT_EQ(result.stillOpen, 0);
}

TEST(Walk, OpensContainersDepthFirst) {
  const WalkResult result = Walk(Level{{
      Provider("P1", Level{{Domain("D1", Level{{ServerWithShares("A"), ServerWithShares("B")}}),
                            Domain("D2", Level{{ServerWithShares("C")}})}}),
      Provider("P2", Level{{Domain("D3", Level{{ServerWithShares("D")}})}}),
  }});
  EXPECT_EQ(result.opened, (QStringList{"", "P1", "D1", "D2", "P2", "D3"}));
  EXPECT_EQ(result.captions, (QStringList{"A", "B", "C", "D"}));
}

TEST(Walk, AnErrorEndsOnlyItsOwnLevelAndKeepsWhatWasFound) {
  Level broken{{ServerWithShares("A1"), ServerWithShares("A2"), ServerWithShares("A3")}};
  broken.errorAfter = 2;
  Level unopenable{{ServerWithShares("X")}};
  unopenable.openFails = true;
  Level top{{
      Provider("P1", Level{{Domain("BROKEN", broken), Domain("CLOSED", unopenable),
                            Domain("FINE", Level{{ServerWithShares("B1")}})}}),
      Provider("P2", Level{{Domain("LATER", Level{{ServerWithShares("C1")}})}}),
  }};
  top.errorAfter = 1;  // the top level fails after its first provider
  top.error = platform::kErrorNoNetwork;
  const WalkResult result = Walk(top);
  EXPECT_EQ(result.captions, (QStringList{"A1", "A2", "B1"}));
  EXPECT_EQ(result.opened, (QStringList{"", "P1", "BROKEN", "CLOSED", "FINE"}));
  EXPECT_EQ(result.stillOpen, 0);  // every level is closed, also the ones an error ended
}

TEST(Walk, LevelsLargerThanOneStepAreReadToTheEnd) {
  Level many;
  for (int i = 0; i < 1200; ++i) many.entries.push_back({MemoryNeighbourhood::Server(QString("M%1").arg(i)), {}});
  auto source = std::make_shared<MemoryNeighbourhood>(Level{{Domain("BIG", many)}});
  QStringList captions;
  TWNet walk(source, [&](const QString& caption, int) { captions << caption; });
  ASSERT_TRUE(RunWalk(walk));
  ASSERT_EQ(captions.size(), 1200);
  EXPECT_EQ(captions.front(), "M0");
  EXPECT_EQ(captions.back(), "M1199");
  EXPECT_EQ(source->Steps(), 1 + 3);  // the top level's one step, then 508 + 508 + 184
}

TEST(Walk, ListsEveryServerReachedEvenTwice) {
  const WalkResult result =
      Walk(Level{{Domain("D1", Level{{ServerWithShares("SAME")}}), Domain("D2", Level{{ServerWithShares("SAME")}})}});
  EXPECT_EQ(result.captions, (QStringList{"SAME", "SAME"}));
}

TEST(MachineCaption, OnlyServersWithARemoteNameAreListed) {
  EXPECT_EQ(MachineCaption(MemoryNeighbourhood::Server("HOST")), QString("HOST"));
  EXPECT_EQ(MachineCaption(MemoryNeighbourhood::Server("ホスト一")), QString("ホスト一"));
  EXPECT_FALSE(MachineCaption(MemoryNeighbourhood::Domain("WORKGROUP")));
  EXPECT_FALSE(MachineCaption(MemoryNeighbourhood::Share("HOST", "C")));

  platform::NetResource server = MemoryNeighbourhood::Server("HOST");
  server.remoteName = QString();
  EXPECT_FALSE(MachineCaption(server));
  server.remoteName.reset();
  EXPECT_FALSE(MachineCaption(server));
}
