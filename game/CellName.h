#pragma once
#include <string>

// A cell as players write it: the column's letter from "a" at the left, the row's number from
// "1" at the top ("d3" is column 3, row 2 counted from 0). A position off the board is written
// as its two numbers ("8,0").
std::string CellName(int x, int y, int cols = 8, int rows = 8);
