// The searches agree with each other and with the rules, and every level uses the solver.
#include <gtest/gtest.h>

#include <random>

#include "tests/yomi/RandomGames.h"
#include "yomi/BasicEvaluator.h"
#include "yomi/ContractChoice.h"
#include "yomi/EndgameSolver.h"
#include "yomi/Levels.h"
#include "yomi/MidgameSearch.h"
#include "yomi/Stability.h"
#include "yomi/Thinker.h"

namespace {

yomi::Position RandomEnginePosition(std::mt19937& rng, int empties) {
  const TestPosition at = RandomPosition(rng, empties);
  return yomi::ReadPosition(at.board.FBan, at.side);
}

int Solved(const yomi::Position& p) {
  yomi::TranspositionTable table(12);
  yomi::SearchClock clock;
  return yomi::EndgameSolver(table, clock).Solve(p, -65, 65);
}

}  // namespace

TEST(YomiStability, StableStonesStayTheirOwnersToTheEnd) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    yomi::Position p = RandomEnginePosition(rng, 4 + round % 30);
    const yomi::Bits stable = yomi::StableStones(p.own, p.own | p.opp);
    bool firstToMove = true;
    // Random play to the end: the stones found stable must stay with the side that held them.
    for (int passes = 0; passes < 2; firstToMove = !firstToMove) {
      yomi::Bits legal = yomi::LegalMoves(p.own, p.opp);
      if (!legal) {
        ++passes;
        p = p.Pass();
        continue;
      }
      passes = 0;
      for (int skip = std::uniform_int_distribution<int>(0, yomi::Count(legal) - 1)(rng); skip > 0; --skip)
        legal &= legal - 1;
      const int square = yomi::FirstSquare(legal);
      p = p.Play(square, yomi::Flips(p.own, p.opp, square));
      ASSERT_EQ(stable & (firstToMove ? p.opp : p.own), stable) << "round " << round;
    }
  }
}

TEST(YomiMidgameSearch, SearchingToTheEndGivesTheSolvedValue) {
  std::mt19937 rng(12);
  const yomi::BasicEvaluator evaluator;
  for (int round = 0; round < 100; ++round) {
    const yomi::Position p = RandomEnginePosition(rng, 1 + round % 9);
    yomi::TranspositionTable table(12);
    yomi::SearchClock clock;
    yomi::MidgameSearch search(evaluator, table, clock, false);
    // Passes do not count as moves, so the empties bound the depth the game can last.
    EXPECT_EQ(search.Search(p, p.Empties(), -yomi::kHighestValue - 1, yomi::kHighestValue + 1, false),
              Solved(p) * yomi::kStoneValue)
        << "round " << round;
  }
}

TEST(YomiThinker, EveryLevelPlaysTheLastEmptiesPerfectly) {
  std::mt19937 rng(13);
  for (int round = 0; round < 60; ++round) {
    const yomi::Position p = RandomEnginePosition(rng, 2 + round % 7);
    int best = -65;
    for (yomi::Bits legal = yomi::LegalMoves(p.own, p.opp); legal; legal &= legal - 1) {
      const int square = yomi::FirstSquare(legal);
      best = std::max(best, -Solved(p.Play(square, yomi::Flips(p.own, p.opp, square))));
    }
    for (int level = 0; level < yomi::kLevelCount; ++level) {
      const int square = yomi::ChooseSquare(p, yomi::LevelAt(level), {1.0, 99, nullptr});
      ASSERT_NE(square, yomi::kNoSquare);
      EXPECT_EQ(-Solved(p.Play(square, yomi::Flips(p.own, p.opp, square))), best)
          << "level " << level << ", round " << round;
    }
  }
}
