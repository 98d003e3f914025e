#pragma once
#include <string>
#include <vector>

#include "game/BoardModel.h"
#include "game/Game.h"

#include "tests/support/BoardPicture.h"

// Resizes the model to the picture and places its stones row by row, so FKomaCount matches.
void LoadBoard(BoardModel& model, const BoardPicture& rows);
// The model's cells in the same form.
BoardPicture BoardRows(const BoardModel& model);
inline BoardPicture BoardRows(const Game& game) { return BoardRows(game.Board()); }
// A game set up on the picture with `turn` to move.
void LoadGame(Game& game, const BoardPicture& rows, int turn = 1);

// Cells as players write them, "d3 e3": column letters from a, rows from 1.
std::vector<_Rev> CellsOf(const std::string& text);
// A whole game from tests/game/games.txt, by its name there.
std::vector<_Rev> RecordedGame(const std::string& name);
// Plays the first `count` cells (all of them when negative), each for the side to move; stops
// at the first one the game refuses and answers how many were played.
int PlayCells(Game& game, const std::vector<_Rev>& cells, int count = -1);
