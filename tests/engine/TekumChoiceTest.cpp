// The engine's choice from inside: weight map, candidates, gains, phase and the choice rule.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/TekumChoice.h"
#include "tests/support/BoardPicture.h"

using tekum::Candidate;

namespace {

tekum::BoardView View(const ContractBoard& board) { return {board.cols(), board.rows(), board.Columns()}; }

// The weight map as digit rows, for comparing with a table.
std::vector<std::string> WeightMap(const ContractBoard& board, std::int32_t side) {
  tekum::Grid work(View(board));
  tekum::BuildWeightMap(work, View(board), side);
  std::vector<std::string> rows(static_cast<std::size_t>(board.rows()), std::string(static_cast<std::size_t>(board.cols()), '?'));
  for (std::int32_t y = 0; y < board.rows(); ++y)
    for (std::int32_t x = 0; x < board.cols(); ++x) rows[y][x] = static_cast<char>('0' + work.At(x, y));
  return rows;
}

Candidate Chosen(const ContractBoard& board, std::int32_t side, std::uint32_t seed = 1) {
  auto chosen = tekum::ChooseMove(View(board), side, seed);
  if (!chosen) throw std::logic_error("no move");
  return *chosen;
}

const BoardPicture kStart = {
    "........",  //
    "........",  //
    "........",  //
    "...21...",  //
    "...12...",  //
    "........",  //
    "........",  //
    "........",
};

}  // namespace

TEST(TekumWeightMap, EightByEightWithOpenCornersAndEmptyEdges) {
  // Nobody holds a corner and no edge cell is occupied: tl = tr = bl = br = 7, every e = 6.
  EXPECT_EQ(WeightMap(ContractBoard(kStart), 1), (std::vector<std::string>{
                                                    "07222270",
                                                    "77666677",
                                                    "26455462",
                                                    "26555562",
                                                    "26555562",
                                                    "26455462",
                                                    "77666677",
                                                    "07222270",
                                                }));
}

TEST(TekumWeightMap, EightByEightCornerOwnersAndOccupiedEdges) {
  // S = X holds (0,0) and (7,7); the opponent holds (7,0); (0,7) is empty. Edge cells (0,3), (3,0),
  // (7,4) and (5,7) are occupied, which makes (1,3), (3,1), (6,4) and (5,6) worth 3.
  const ContractBoard board({
      "1..2...2",  //
      "........",  //
      "........",  //
      "2.......",  //
      ".......1",  //
      "........",  //
      "........",  //
      ".....2.1",
  });
  EXPECT_EQ(WeightMap(board, 1), (std::vector<std::string>{
                                     "01222270",
                                     "11636677",
                                     "26455462",
                                     "23555562",
                                     "26555532",
                                     "26455462",
                                     "77666311",
                                     "07222210",
                                 }));
  // The same board seen by O: only (7,0) is its own corner.
  EXPECT_EQ(WeightMap(board, 2), (std::vector<std::string>{
                                     "07222210",
                                     "77636611",
                                     "26455462",
                                     "23555562",
                                     "26555532",
                                     "26455462",
                                     "77666377",
                                     "07222270",
                                 }));
}

TEST(TekumWeightMap, SmallBoardsFollowTheStepOrder) {
  // 3 x 3: the centre touches all four corners; the last corner written decides it, and the
  // diagonal cells of the inner step are the corners themselves.
  EXPECT_EQ(WeightMap(ContractBoard({"...", "...", "..1"}), 1), (std::vector<std::string>{"070", "711", "010"}));
  EXPECT_EQ(WeightMap(ContractBoard({"...", "...", "1.."}), 1), (std::vector<std::string>{"070", "177", "070"}));
  EXPECT_EQ(WeightMap(ContractBoard({"1..", "...", "..."}), 1), (std::vector<std::string>{"070", "777", "070"}));
  // 4 x 5: (1,2) is second column beside an occupied edge (3), then an inner diagonal cell (4).
  EXPECT_EQ(WeightMap(ContractBoard({"....", "....", "2...", "....", "...1"}), 1),
            (std::vector<std::string>{"0770", "7777", "2442", "7711", "0710"}));
}

TEST(TekumCandidates, LegalCellsInColumnOrderWithGains) {
  const auto candidates = tekum::FindCandidates(View(ContractBoard(kStart)), 1);
  EXPECT_EQ(candidates, (std::vector<Candidate>{{2, 3, 2}, {3, 2, 2}, {4, 5, 2}, {5, 4, 2}}));
  EXPECT_EQ(tekum::CountOccupied(View(ContractBoard(kStart))), 4);
}

TEST(TekumCandidates, GainCountsThePlacedPieceAndEveryEnclosedLine) {
  // Every one of the eight lines from the centre holds two opponent pieces before an own piece.
  const ContractBoard star({
      "1..1..1",  //
      ".2.2.2.",  //
      "..222..",  //
      "122.221",  //
      "..222..",  //
      ".2.2.2.",  //
      "1..1..1",
  });
  EXPECT_TRUE(tekum::IsLegal(View(star), 3, 3, 1));
  EXPECT_EQ(tekum::CountGain(View(star), 3, 3, 1), 1 + 8 * 2);

  // Lines that run into an empty cell or off the board flip nothing.
  const ContractBoard open({
      "......",  //
      ".122..",  //
      "......",  //
      "..2...",  //
      "..1...",  //
      "22....",
  });
  EXPECT_EQ(tekum::CountGain(View(open), 4, 1, 1), 3);  // left: O O, then X
  EXPECT_TRUE(tekum::IsLegal(View(open), 2, 2, 1));     // down: O, then X
  EXPECT_EQ(tekum::CountGain(View(open), 2, 2, 1), 2);  // up and up-right: O, then an empty cell
  EXPECT_FALSE(tekum::IsLegal(View(open), 2, 5, 1));  // left: O O, then the edge
  EXPECT_FALSE(tekum::IsLegal(View(open), 2, 1, 1));  // occupied, whatever lies around it
  EXPECT_FALSE(tekum::IsLegal(View(open), 1, 2, 1));  // both lines over O end in empty cells
}

TEST(TekumPhase, MoreThanTwoThirdsFullIsLate) {
  EXPECT_EQ(tekum::PhaseThreshold(8, 8), 42);
  EXPECT_FALSE(tekum::IsLatePhase(42, 8, 8));
  EXPECT_TRUE(tekum::IsLatePhase(43, 8, 8));
  EXPECT_EQ(tekum::PhaseThreshold(4, 5), 13);  // 40 / 3, truncated
  EXPECT_EQ(tekum::PhaseThreshold(3, 3), 6);
}

TEST(TekumChoice, ASingleLegalMoveIsReturnedWithItsGain) {
  const ContractBoard board({
      "........",  //
      "........",  //
      "........",  //
      "....2221",  //
      "........",  //
      "........",  //
      "........",  //
      "........",
  });
  EXPECT_EQ(Chosen(board, 1), (Candidate{3, 3, 4}));
  // O cannot enclose X against the edge: no answer.
  EXPECT_FALSE(tekum::ChooseMove(View(board), 2, 1).has_value());
}

namespace {

// Two corner moves for X, gains 2 at (0,0) and 5 at (7,7); nothing else is legal.
ContractBoard TwoCorners() {
  return ContractBoard({
      ".21.....",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      "..12222.",
  });
}

// The same position turned half round: gain 5 at (0,0), gain 2 at (7,7).
ContractBoard TwoCornersTurned() {
  return ContractBoard({
      ".22221..",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      "........",  //
      ".....12.",
  });
}

}  // namespace

TEST(TekumChoice, EqualWeightsPreferFewFlipsEarlyAndManyLate) {
  EXPECT_EQ(Chosen(TwoCorners(), 1), (Candidate{0, 0, 2}));
  EXPECT_EQ(Chosen(TwoCornersTurned(), 1), (Candidate{7, 7, 2}));

  // Own pieces elsewhere change neither the candidates nor their gains, only the count.
  ContractBoard late = TwoCorners();
  late.FillTo(62, 1, {{0, 0}, {7, 7}});
  EXPECT_EQ(Chosen(late, 1), (Candidate{7, 7, 5}));
  ContractBoard lateTurned = TwoCornersTurned();
  lateTurned.FillTo(62, 1, {{0, 0}, {7, 7}});
  EXPECT_EQ(Chosen(lateTurned, 1), (Candidate{0, 0, 5}));
}

TEST(TekumChoice, FortyTwoOccupiedIsStillEarlyFortyThreeIsLate) {
  ContractBoard at42 = TwoCorners();
  at42.FillTo(42, 1, {{0, 0}, {7, 7}});
  EXPECT_EQ(Chosen(at42, 1), (Candidate{0, 0, 2}));
  ContractBoard at43 = TwoCorners();
  at43.FillTo(43, 1, {{0, 0}, {7, 7}});
  EXPECT_EQ(Chosen(at43, 1), (Candidate{7, 7, 5}));
}

TEST(TekumChoice, CellBesideACornerIsWorstWhileOpenAndBestOnceHeld) {
  // (1,1) beside the open corner (0,0) weighs 7: the inner (4,4), weight 5, is chosen, though
  // (1,1) comes first in the list.
  const ContractBoard open({
      "........",  //
      "........",  //
      "..2.....",  //
      "...1....",  //
      "........",  //
      "....2...",  //
      "....1...",  //
      "........",
  });
  EXPECT_EQ(tekum::FindCandidates(View(open), 1), (std::vector<Candidate>{{1, 1, 2}, {4, 4, 2}}));
  EXPECT_EQ(Chosen(open, 1), (Candidate{4, 4, 2}));

  // With a cell beside an open corner as the only kind of move, it is played.
  const ContractBoard onlyCornerSide({
      "........",  //
      "........",  //
      "..2.....",  //
      "...1....",  //
      "........",  //
      "........",  //
      "........",  //
      "........",
  });
  EXPECT_EQ(Chosen(onlyCornerSide, 1), (Candidate{1, 1, 2}));

  // Once X holds (0,0), (1,1) weighs 1 and beats the edge move (0,4), weight 2, listed before it.
  const ContractBoard held({
      "1.......",  //
      "........",  //
      "..2.....",  //
      "...1....",  //
      ".21.....",  //
      "....2...",  //
      "....1...",  //
      "........",
  });
  EXPECT_EQ(tekum::FindCandidates(View(held), 1), (std::vector<Candidate>{{0, 4, 2}, {1, 1, 2}, {4, 4, 2}}));
  EXPECT_EQ(Chosen(held, 1), (Candidate{1, 1, 2}));
}

TEST(TekumChoice, SecondLineCellDependsOnTheEdgeCellOutside) {
  // (1,3) encloses (2,3); (4,6) encloses (4,5). Both are second-line cells and gain 2.
  auto with = [](char edge) {
    std::vector<std::string> rows = {
        "........",  //
        "........",  //
        "........",  //
        "..21....",  //
        "....1...",  //
        "....2...",  //
        "........",  //
        "........",
    };
    rows[3][0] = edge;
    return ContractBoard(rows);
  };
  // With (0,3) and (4,7) empty both weigh 6: a coin decides, and both occur.
  std::set<std::pair<int, int>> seen;
  for (std::uint32_t seed = 0; seed < 64; ++seed) {
    const Candidate c = Chosen(with('.'), 1, seed);
    seen.insert({c.x, c.y});
  }
  EXPECT_EQ(seen, (std::set<std::pair<int, int>>{{1, 3}, {4, 6}}));
  // An occupied (0,3) makes (1,3) a 3 and the clear choice.
  for (std::uint32_t seed = 0; seed < 16; ++seed) EXPECT_EQ(Chosen(with('2'), 1, seed), (Candidate{1, 3, 2}));
}

TEST(TekumChoice, FullTiesGoEitherWayAcrossSeedsAndRepeatForOneSeed) {
  // The four opening moves weigh 5 and gain 2 each.
  std::map<std::pair<int, int>, int> count;
  for (std::uint32_t seed = 0; seed < 400; ++seed) {
    const Candidate c = Chosen(ContractBoard(kStart), 1, seed);
    ++count[{c.x, c.y}];
    EXPECT_EQ(c, Chosen(ContractBoard(kStart), 1, seed)) << "seed " << seed;
  }
  ASSERT_EQ(count.size(), 4u);
  // Each later candidate replaces on heads, so the last is played about half the time and the
  // first about an eighth.
  const int last = count[{5, 4}];
  const int first = count[{2, 3}];
  EXPECT_GT(last, first);
}
