#pragma once
// The board as a screen reader sees it: a table named 「盤面」 whose description says the turn
// and the count, with one child per cell, named as players write the cell ("d3") and described
// by what stands on it.

// Lets the accessibility framework make the board's interface; once per program, any thread
// that makes widgets.
void InstallBoardAccessibility();
