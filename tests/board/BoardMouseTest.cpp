#include <QTest>

#include "board/StoneCursors.h"
#include "tests/board/BoardFixture.h"

namespace {

using Cursor = TIReversi::BoardCursor;

const BoardPicture kStart = {"........", "........", "........", "...21...", "...12...", "........", "........", "........"};

class BoardMouse : public BoardFixture {
 protected:
  Cursor CursorAt(int X, int Y) {
    board.BanMouseMove(&board, {}, X, Y);
    return board.CurrentCursor();
  }
};

TEST_F(BoardMouse, CursorShowsWhetherTheSideToMoveMayPlace) {
  EXPECT_EQ(CursorAt(Centre(2, 3).x(), Centre(2, 3).y()), Cursor::Kuro);
  EXPECT_EQ(CursorAt(Centre(0, 0).x(), Centre(0, 0).y()), Cursor::No);
  EXPECT_EQ(CursorAt(Centre(3, 3).x(), Centre(3, 3).y()), Cursor::No);  // occupied
  EXPECT_EQ(CursorAt(440, 440), Cursor::No);                            // off the board
  // Side 2's cursor is the white-stone hand.
  LoadGame(game, kStart, 2);
  EXPECT_EQ(CursorAt(Centre(2, 4).x(), Centre(2, 4).y()), Cursor::Shiro);
  EXPECT_EQ(CursorAt(Centre(2, 3).x(), Centre(2, 3).y()), Cursor::No);
  EXPECT_EQ(board.cursor().shape(), Qt::ForbiddenCursor);
}

TEST_F(BoardMouse, StoneCursorsAreTheCompiledInHands) {
  RegisterStoneCursors();
  for (int number : {1, 2}) {
    const QCursor cursor = StoneCursor(number);
    ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << number;
    const QImage picture = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
    EXPECT_EQ(qAlpha(picture.pixel(31, 0)), 0);  // clear around the hand
    // The stone at the hot spot's corner is black in cursor 1 and white in cursor 2.
    EXPECT_EQ(picture.pixel(7, 7), number == 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  }
  EXPECT_EQ(StoneCursor(3).shape(), Qt::ArrowCursor);

  CursorAt(Centre(2, 3).x(), Centre(2, 3).y());
  EXPECT_EQ(board.cursor().pixmap().toImage(), StoneCursor(1).pixmap().toImage());
  LoadGame(game, kStart, 2);
  CursorAt(Centre(2, 4).x(), Centre(2, 4).y());
  EXPECT_EQ(board.cursor().pixmap().toImage(), StoneCursor(2).pixmap().toImage());
}

TEST_F(BoardMouse, HitAreasSitFivePixelsBeforeThePaintedCells) {
  LoadGame(game, {".21..12.", "........", "........", "........",
                    "........", "........", "........", "........"});
  // (0, 0) and (7, 0) are side 1's only placements.
  EXPECT_EQ(CursorAt(0, 0), Cursor::Kuro);
  EXPECT_EQ(CursorAt(69, 69), Cursor::Kuro);
  EXPECT_EQ(CursorAt(70, 70), Cursor::No);
  EXPECT_EQ(CursorAt(419, 10), Cursor::Kuro);
  EXPECT_EQ(CursorAt(420, 10), Cursor::No);
}

TEST_F(BoardMouse, ClicksNeedALegalCellAndACursorThatAllowsIt) {
  // The last move found no placement: a click elsewhere is refused until the pointer moves.
  CursorAt(Centre(0, 0).x(), Centre(0, 0).y());
  board.BanMouseDown(&board, Qt::LeftButton, {}, Centre(2, 3).x(), Centre(2, 3).y());
  EXPECT_EQ(game.Board().FKomaCount, 4);
  // Off the board: no cursor, nothing placed.
  CursorAt(Centre(2, 3).x(), Centre(2, 3).y());
  board.BanMouseDown(&board, Qt::LeftButton, {}, 440, 10);
  EXPECT_EQ(board.CurrentCursor(), Cursor::No);
  EXPECT_EQ(game.Board().FKomaCount, 4);
  // An illegal cell under a stone cursor (filled since the last move) is refused too.
  CursorAt(Centre(2, 3).x(), Centre(2, 3).y());
  board.BanMouseDown(&board, Qt::LeftButton, {}, Centre(0, 0).x(), Centre(0, 0).y());
  EXPECT_EQ(game.Board().FKomaCount, 4);

  ClickCell(2, 3);
  EXPECT_EQ(game.Board().FKomaCount, 5);
  EXPECT_EQ(game.Turn(), 2);
  // The same cell again: occupied now, although the cursor still shows the stone.
  board.BanMouseDown(&board, Qt::LeftButton, {}, Centre(2, 3).x(), Centre(2, 3).y());
  EXPECT_EQ(game.Board().FKomaCount, 5);
  EXPECT_EQ(game.Turn(), 2);
}

TEST_F(BoardMouse, RealMouseEventsAnyButtonWhileInputIsOpen) {
  board.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));

  QTest::mouseMove(&board, Centre(2, 3));
  EXPECT_EQ(board.CurrentCursor(), Cursor::Kuro);  // tracked without a button held
  QTest::mouseClick(&board, Qt::RightButton, {}, Centre(2, 3));
  EXPECT_EQ(BoardRows(game)[3], "..111...");
  // While another side is to move the board takes no clicks.
  board.SetInputOpen(false);
  QTest::mouseMove(&board, Centre(2, 2));
  QTest::mouseClick(&board, Qt::LeftButton, {}, Centre(2, 2));
  EXPECT_EQ(game.Board().FKomaCount, 5);

  board.SetInputOpen(true);
  QTest::mouseMove(&board, Centre(2, 2));
  QTest::mouseClick(&board, Qt::MiddleButton, Qt::ShiftModifier, Centre(2, 2));
  EXPECT_EQ(game.Board().FKomaCount, 6);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
