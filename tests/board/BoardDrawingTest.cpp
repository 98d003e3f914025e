#include <QImage>

#include "board/BoardGeometry.h"
#include "tests/board/BoardFixture.h"

namespace {

const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

QRgb Pixel(const TIReversi& board, int x, int y) { return board.Bitmap().pixel(x, y); }

using BoardDrawing = BoardFixture;

TEST_F(BoardDrawing, FrameGridAndStonesAt450) {
  LoadGame(game, {"1.......", "........", "........", "...21...", "...12...", "........", "........", "........"});
  game.Play(_Rev{5, 4, 1});  // single cells are painted as they change: the stone, its flip of (4, 4)
  board.KomaDraw1(5, 4, 0);      // an empty value never erases
  ASSERT_EQ(board.Bitmap().size(), QSize(450, 450));
  EXPECT_EQ(board.CellRect(0, 0), QRect(25, 25, 50, 50));

  // The 3-pixel frame from (25, 25) to (425, 425), centred on its path.
  for (int d : {-1, 0, 1}) {
    EXPECT_EQ(Pixel(board, 225, 25 + d), kBlack) << d;
    EXPECT_EQ(Pixel(board, 425 + d, 225), kBlack) << d;
    EXPECT_EQ(Pixel(board, 225, 425 + d), kBlack) << d;
    EXPECT_EQ(Pixel(board, 25 + d, 325), kBlack) << d;
  }
  EXPECT_EQ(Pixel(board, 225, 22), kSilver);
  EXPECT_EQ(Pixel(board, 428, 225), kSilver);
  EXPECT_EQ(Pixel(board, 5, 5), kSilver);
  EXPECT_EQ(Pixel(board, 445, 445), kSilver);

  // One-pixel grid lines every 50 pixels; the cells between them are background.
  for (int i = 1; i < 8; ++i) {
    const int at = 25 + 50 * i;
    EXPECT_EQ(Pixel(board, at, 110), kBlack) << i;
    EXPECT_EQ(Pixel(board, at + 1, 110), kSilver) << i;
    EXPECT_EQ(Pixel(board, at - 1, 110), kSilver) << i;
    EXPECT_EQ(Pixel(board, 110, at), kBlack) << i;
    EXPECT_EQ(Pixel(board, 110, at + 1), kSilver) << i;
  }

  // The stone of cell (0, 0) fills the box (25, 25)-(75, 75), outlined in black.
  EXPECT_EQ(Pixel(board, 50, 50), kBlue);
  EXPECT_EQ(Pixel(board, 27, 50), kBlue);
  EXPECT_EQ(Pixel(board, 73, 50), kBlue);
  EXPECT_EQ(Pixel(board, 50, 73), kBlue);
  EXPECT_EQ(Pixel(board, 74, 50), kBlack);
  EXPECT_EQ(Pixel(board, 50, 74), kBlack);
  EXPECT_EQ(Pixel(board, 29, 29), kSilver);  // outside the round stone, inside its box
  EXPECT_EQ(Pixel(board, 71, 71), kSilver);

  EXPECT_EQ(Pixel(board, 200, 200), kWhite);
  EXPECT_EQ(Pixel(board, 250, 200), kBlue);
  EXPECT_EQ(Pixel(board, 250, 250), kBlue);  // flipped
  EXPECT_EQ(Pixel(board, 300, 250), kBlue);  // placed
  EXPECT_EQ(Pixel(board, 150, 200), kSilver);

  // The control shows its bitmap.
  EXPECT_EQ(board.grab().toImage().pixel(250, 200), kBlue);
}

TEST_F(BoardDrawing, NarrowPanelAt100) {
  board.resize(100, 100);
  board.BanDraw();
  EXPECT_EQ(board.CellRect(0, 0).width(), 11);
  // Vertical lines at 5, 16, ..., 82; the frame's right edge at 95.
  for (int i = 1; i < 8; ++i) {
    EXPECT_EQ(Pixel(board, 5 + 11 * i, 50), kBlack) << i;
    EXPECT_EQ(Pixel(board, 6 + 11 * i, 50), kSilver) << i;
  }
  EXPECT_EQ(Pixel(board, 95, 50), kBlack);
  EXPECT_EQ(Pixel(board, 93, 50), kSilver);
  EXPECT_EQ(Pixel(board, 97, 50), kSilver);
  // The last column is 13 pixels wide, its stone 11: the stone ends before the frame.
  LoadGame(game, {"........", "........", "........", ".......2", "........", "........", "........", "........"});
  EXPECT_EQ(Pixel(board, 87, 43), kWhite);  // box (82, 38)-(93, 49)
  EXPECT_EQ(Pixel(board, 92, 43), kBlack);
  EXPECT_EQ(Pixel(board, 93, 43), kSilver);
}

TEST_F(BoardDrawing, ResizeRepaintsEverythingAtTheNewSize) {
  board.resize(270, 270);  // cells of 30 from (15, 15)
  board.BanDraw();
  board.KomaDrawAll();
  ASSERT_EQ(board.Bitmap().size(), QSize(270, 270));
  EXPECT_EQ(board.CellRect(0, 0).width(), 30);
  EXPECT_EQ(Pixel(board, 15 + 30 * 3 + 15, 15 + 30 * 3 + 15), kWhite);
  EXPECT_EQ(Pixel(board, 15 + 30 * 4 + 15, 15 + 30 * 3 + 15), kBlue);
  EXPECT_EQ(Pixel(board, 255, 135), kBlack);  // the frame's right edge moved with the size
}

TEST_F(BoardDrawing, PanelTooSmallForTheBoard) {
  board.resize(5, 5);
  board.BanDraw();
  board.KomaDrawAll();
  EXPECT_TRUE(board.CellRect(0, 0).isEmpty());
  EXPECT_EQ(board.Bitmap().size(), QSize(5, 5));
  for (int x = 0; x < 5; ++x) {
    board.BanMouseMove(&board, {}, x, x);
    EXPECT_EQ(board.CurrentCursor(), TIReversi::BoardCursor::No);
    board.BanMouseDown(&board, Qt::LeftButton, {}, x, x);
  }
  EXPECT_EQ(game.Board().FKomaCount, 4);
  // Back at a usable size the board works again.
  board.resize(450, 450);
  board.BanDraw();
  ClickCell(2, 3);
  EXPECT_EQ(game.Board().FKomaCount, 5);
}

TEST(BoardGeometryMapping, PointerToCell) {
  const BoardGeometry g = BoardGeometry::For(450, 450, 8, 8);
  int column = -9;
  int row = -9;
  ASSERT_TRUE(g.CellAt(0, 0, 8, 8, column, row));  // truncation toward zero
  EXPECT_EQ(std::pair(column, row), std::pair(0, 0));
  ASSERT_TRUE(g.CellAt(69, 69, 8, 8, column, row));
  EXPECT_EQ(std::pair(column, row), std::pair(0, 0));
  ASSERT_TRUE(g.CellAt(70, 70, 8, 8, column, row));
  EXPECT_EQ(std::pair(column, row), std::pair(1, 1));
  ASSERT_TRUE(g.CellAt(419, 10, 8, 8, column, row));
  EXPECT_EQ(std::pair(column, row), std::pair(7, 0));
  EXPECT_FALSE(g.CellAt(420, 10, 8, 8, column, row));  // inside the frame, off the board
  EXPECT_FALSE(g.CellAt(-71, 10, 8, 8, column, row));  // more than a cell left of the grid

  EXPECT_FALSE(BoardGeometry::For(8, 450, 8, 8).CellAt(3, 100, 8, 8, column, row));
  EXPECT_FALSE(BoardGeometry::For(0, 0, 8, 8).CellAt(0, 0, 8, 8, column, row));
}

}  // namespace
