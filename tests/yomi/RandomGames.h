#pragma once
// Positions for the engine tests, reached by random legal moves on the program's own board
// model, so the engine's rules are checked against rules it does not share.
#include <cstdint>
#include <random>
#include <vector>

#include "game/BoardModel.h"

struct TestPosition {
  BoardModel board;
  std::int32_t side = 1;  // to move; has a legal move
};

// Legal placements of side, column by column.
std::vector<_Rev> LegalPlacements(const BoardModel& board, std::int32_t side);

// Random play on a cols x rows board from its four middle stones until `empties` cells are
// left and the side to move has a move (trying again from the start when the game ends first).
// Needs cols and rows of at least 2.
TestPosition RandomPosition(std::mt19937& rng, int empties, int cols = 8, int rows = 8);
