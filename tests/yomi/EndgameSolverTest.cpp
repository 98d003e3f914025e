// The exact solver against a plain minimax over the program's own board model.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/yomi/RandomGames.h"
#include "yomi/ContractChoice.h"
#include "yomi/EndgameSolver.h"

namespace {

int StonesAhead(const BoardModel& board, std::int32_t side) {
  int ahead = 0;
  for (int x = 0; x < board.FCols; ++x)
    for (int y = 0; y < board.FRows; ++y) ahead += board.Cell(x, y) == side ? 1 : board.Cell(x, y) != 0 ? -1 : 0;
  return ahead;
}

// Every line of play to the end, no pruning: side's stones minus the other's once neither can move.
int Minimax(const BoardModel& board, std::int32_t side, bool passed = false) {
  std::optional<int> best;
  for (const _Rev& move : LegalPlacements(board, side)) {
    BoardModel next(board);
    next.KomaGaeshi(move);
    best = std::max(best.value_or(-100), -Minimax(next, 3 - side));
  }
  if (best) return *best;
  return passed ? StonesAhead(board, side) : -Minimax(board, 3 - side, true);
}

}  // namespace

TEST(YomiEndgameSolver, AgreesWithPlainMinimaxUpToTenEmpties) {
  // 300 positions; fewer of the deepest, whose full trees take the minimax most of a second.
  const int positionsWithEmpties[11] = {0, 40, 40, 40, 40, 40, 40, 30, 20, 6, 4};
  std::mt19937 rng(20240613);
  yomi::TranspositionTable table(12);
  yomi::SearchClock clock;
  yomi::EndgameSolver solver(table, clock);
  for (int empties = 1; empties <= 10; ++empties)
    for (int round = 0; round < positionsWithEmpties[empties]; ++round) {
      const TestPosition at = RandomPosition(rng, empties);
      const yomi::Position p = yomi::ReadPosition(at.board.FBan, at.side);
      const int expected = Minimax(at.board, at.side);
      ASSERT_EQ(solver.Solve(p, -65, 65), expected) << empties << " empties, round " << round;
      const auto best = solver.BestMove(p);
      ASSERT_TRUE(best.has_value());
      ASSERT_EQ(best->value, expected) << empties << " empties, round " << round;
    }
}

TEST(YomiEndgameSolver, WinLossProofsAgreeWithTheExactValues) {
  std::mt19937 rng(20240614);
  yomi::TranspositionTable table(14);
  yomi::SearchClock clock;
  yomi::EndgameSolver solver(table, clock);
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (int round = 0; round < 100; ++round) {
    const TestPosition at = RandomPosition(rng, 6 + round % 9);
    const yomi::Position p = yomi::ReadPosition(at.board.FBan, at.side);
    const int best = solver.BestMove(p)->value;
    // Any order will do; the reverse of the solver's own makes the first move rarely the best.
    std::vector<int> order = solver.SolvingOrder(p);
    std::reverse(order.begin(), order.end());
    const auto proved = solver.WinningMove(p, order);
    ASSERT_TRUE(proved.has_value());
    EXPECT_EQ(proved->value, sign(best)) << "round " << round;
    const int square = proved->square;
    EXPECT_EQ(sign(-solver.Solve(p.Play(square, yomi::Flips(p.own, p.opp, square)), -65, 65)), sign(best))
        << "round " << round << ": the move chosen does not keep the result";
  }
}
