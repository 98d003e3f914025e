#pragma once
#include <string>
#include <vector>

#include "board/BoardModel.h"

// Boards written as pictures: one string per row, top row first, one character per column:
// '.' empty, '1' side 1, '2' side 2.
using BoardPicture = std::vector<std::string>;

// Resizes the model to the picture and places its stones row by row, so FKomaCount matches.
void LoadBoard(BoardModel& model, const BoardPicture& rows);
// The model's cells in the same form.
BoardPicture BoardRows(const BoardModel& model);
