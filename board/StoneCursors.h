#pragma once
#include <QCursor>

// The mouse cursors of the board: number 1 is KUROGOMA (a hand holding a black stone),
// number 2 SIROGOMA (a hand holding a white stone), both compiled into the program.
// The game screen registers them once; registering again changes nothing.
void RegisterStoneCursors();
// The cursor registered under number (1 or 2); the arrow for any other number.
QCursor StoneCursor(int number);
// The refusal cursor shown over a cell where no stone may go.
QCursor NoCursor();
