#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "game/BoardModel.h"
#include "tests/game/BoardText.h"

namespace {

// Remembers every cell change in the order the model reports it.
class RecordingModel : public BoardModel {
 public:
  std::vector<std::tuple<int, int, int>> changes;

 protected:
  void CellChanged(int x, int y, std::int32_t value) override { changes.emplace_back(x, y, value); }
};

const BoardPicture kStart = {
    "........", "........", "........", "...21...", "...12...", "........", "........", "........",
};

TEST(BoardModel, StartingPositionAndPlacementList) {
  RecordingModel model;
  model.FTurn = 2;
  model.DefaultSetKoma();
  EXPECT_EQ(BoardRows(model), kStart);
  EXPECT_EQ(model.FTurn, 1);
  ASSERT_EQ(model.FKomaCount, 4);
  const _Rev expected[] = {{3, 3, 2}, {4, 3, 1}, {3, 4, 1}, {4, 4, 2}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(model.FKomaList[i].x, expected[i].x) << i;
    EXPECT_EQ(model.FKomaList[i].y, expected[i].y) << i;
    EXPECT_EQ(model.FKomaList[i].value, expected[i].value) << i;
  }
  // Each starting stone was reported for painting, in placing order.
  EXPECT_EQ(model.changes, (std::vector<std::tuple<int, int, int>>{{3, 3, 2}, {4, 3, 1}, {3, 4, 1}, {4, 4, 2}}));
}

TEST(BoardModel, StartingPositionOnlyOnEightByEight) {
  BoardModel model;
  model.ResizeBoard(6, 6);
  model.FTurn = 2;
  model.DefaultSetKoma();
  EXPECT_EQ(model.FKomaCount, 0);
  EXPECT_EQ(BoardRows(model), BoardPicture(6, "......"));
  EXPECT_EQ(model.FTurn, 2);
}

TEST(BoardModel, SideOnesLegalCellsAtTheStart) {
  BoardModel model;
  model.DefaultSetKoma();
  std::vector<std::pair<int, int>> legal;
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y)
      if (model.HaichiCheck(_Rev{x, y, 1})) legal.emplace_back(x, y);
  EXPECT_EQ(legal, (std::vector<std::pair<int, int>>{{2, 3}, {3, 2}, {4, 5}, {5, 4}}));

  _Rev first{-1, -1, -1};
  ASSERT_TRUE(model.CheckKomaPut(1, &first));
  EXPECT_EQ(first.x, 2);
  EXPECT_EQ(first.y, 3);
  EXPECT_EQ(first.value, 1);
  // Occupied cells are never legal, whatever surrounds them.
  EXPECT_FALSE(model.HaichiCheck(_Rev{3, 3, 1}));
  EXPECT_FALSE(model.HaichiCheck(_Rev{4, 3, 2}));

  model.KomaGaeshi(first);  // flips (3, 3) only
  EXPECT_EQ(BoardRows(model)[3], "..111...");
  EXPECT_EQ(BoardRows(model)[4], "...12...");
  ASSERT_EQ(model.FKomaCount, 5);
  EXPECT_EQ(model.FKomaList[4].x * 10 + model.FKomaList[4].y, 23);
}

TEST(BoardModel, EveryDirectionFlipsInScanOrder) {
  RecordingModel model;
  LoadBoard(model, {
                       "1..1..1.",
                       ".2.2.2..",
                       "..222...",
                       "122.2221",
                       "..222...",
                       ".2.2.2..",
                       "1..1..1.",
                       "........",
                   });
  model.changes.clear();
  const int before = model.FKomaCount;
  EXPECT_TRUE(model.HaichiCheck(_Rev{3, 3, 1}));
  model.KomaGaeshi(_Rev{3, 3, 1});
  EXPECT_EQ(BoardRows(model), (BoardPicture{
                                  "1..1..1.",
                                  ".1.1.1..",
                                  "..111...",
                                  "11111111",
                                  "..111...",
                                  ".1.1.1..",
                                  "1..1..1.",
                                  "........",
                              }));
  EXPECT_EQ(model.FKomaCount, before + 1);
  // dx outer, dy inner; the stone itself between (0,-1) and (0,+1); each line from the stone outwards.
  const std::vector<std::tuple<int, int, int>> order = {
      {2, 2, 1}, {1, 1, 1},             // (-1,-1)
      {2, 3, 1}, {1, 3, 1},             // (-1, 0)
      {2, 4, 1}, {1, 5, 1},             // (-1,+1)
      {3, 2, 1}, {3, 1, 1},             // ( 0,-1)
      {3, 3, 1},                        // the placed stone
      {3, 4, 1}, {3, 5, 1},             // ( 0,+1)
      {4, 2, 1}, {5, 1, 1},             // (+1,-1)
      {4, 3, 1}, {5, 3, 1}, {6, 3, 1},  // (+1, 0)
      {4, 4, 1}, {5, 5, 1},             // (+1,+1)
  };
  EXPECT_EQ(model.changes, order);
}

TEST(BoardModel, LinesIntoTheEdgeOrAGapFlipNothing) {
  BoardModel model;
  LoadBoard(model, {
                       "222.22.1",
                       "...2....",
                       "...1....",
                       "........",
                   });
  // Left runs into the edge, right into an empty cell; only the line down is enclosed.
  EXPECT_TRUE(model.HaichiCheck(_Rev{3, 0, 1}));
  model.KomaGaeshi(_Rev{3, 0, 1});
  EXPECT_EQ(BoardRows(model), (BoardPicture{
                                  "222122.1",
                                  "...1....",
                                  "...1....",
                                  "........",
                              }));

  // Without the enclosed line the same cell is not legal, yet placing there (the caller's check)
  // still puts the stone and flips nothing.
  LoadBoard(model, {"222.22.1", "........"});
  EXPECT_FALSE(model.HaichiCheck(_Rev{3, 0, 1}));
  EXPECT_FALSE(model.CheckKomaPut(1));
  model.KomaGaeshi(_Rev{3, 0, 1});
  EXPECT_EQ(BoardRows(model), (BoardPicture{"222122.1", "........"}));
}

TEST(BoardModel, OccupiedOutsideAndNonSideMovesChangeNothing) {
  RecordingModel model;
  model.DefaultSetKoma();
  model.changes.clear();
  const BoardPicture before = BoardRows(model);

  model.KomaGaeshi(_Rev{3, 3, 1});   // occupied
  model.KomaGaeshi(_Rev{8, 3, 1});   // past the right edge
  model.KomaGaeshi(_Rev{-1, 0, 2});  // before the left edge
  model.KomaGaeshi(_Rev{2, 3, 0});   // not a side: would wipe the line it "encloses"
  model.KomaGaeshi(_Rev{2, 3, 7});
  model.ChangeKoma(_Rev{0, 8, 1});
  model.ChangeKoma(_Rev{100000, -5, 1});
  model.SetKoma(_Rev{-3, 2, 1});
  EXPECT_FALSE(model.HaichiCheck(_Rev{8, 8, 1}));
  EXPECT_FALSE(model.HaichiCheck(_Rev{-1, 3, 1}));

  EXPECT_EQ(BoardRows(model), before);
  EXPECT_EQ(model.FKomaCount, 4);
  EXPECT_TRUE(model.changes.empty());
}

TEST(BoardModel, PlacementListNeverOverflows) {
  BoardModel model;
  model.ResizeBoard(2, 1);
  for (int i = 0; i < 5; ++i) model.SetKoma(_Rev{0, 0, 1});  // SetKoma does not look at the cell
  EXPECT_EQ(model.FKomaCount, 2);
  EXPECT_TRUE(model.Full());
}

TEST(BoardModel, BareBoardLegalityMatchesTheModel) {
  BoardModel model;
  model.DefaultSetKoma();
  model.KomaGaeshi(_Rev{2, 3, 1});
  // A private copy of the cells, as an engine host would hold it.
  std::vector<std::vector<std::int32_t>> cells(8, std::vector<std::int32_t>(8));
  std::vector<const std::int32_t*> columns;
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) cells[x][y] = model.FBan[x][y];
    columns.push_back(cells[x].data());
  }
  for (int side = 1; side <= 2; ++side)
    for (int x = -1; x <= 8; ++x)
      for (int y = -1; y <= 8; ++y)
        EXPECT_EQ(IsLegalPlacement(columns.data(), 8, 8, _Rev{x, y, side}), model.HaichiCheck(_Rev{x, y, side}))
            << x << "," << y << " side " << side;
  EXPECT_FALSE(IsLegalPlacement(nullptr, 8, 8, _Rev{2, 2, 2}));
}

}  // namespace
