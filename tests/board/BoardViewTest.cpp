// The board as players see it, run at a device pixel ratio of 2 (QT_SCALE_FACTOR=2): square
// cells and smooth stones at the screen's resolution, clicks on the cells as drawn, the
// keyboard, what a screen reader is told, and the marks.
#include <QAccessible>
#include <QElapsedTimer>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "board/FlipAnimation.h"
#include "game/CellName.h"
#include "tests/board/BoardFixture.h"

namespace {

class BoardView : public BoardFixture {
 protected:
  BoardView() {
    board.SetLook({});
    board.resize(450, 300);  // a wide panel: the board is as tall as it allows
  }
  QImage Shown() {
    board.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&board));
    return board.grab().toImage();
  }
  std::vector<std::string> chosen;
  void RecordMoves() {
    board.OnMove = [this](const _Rev& move) { chosen.push_back(CellName(move.x, move.y)); };
  }
};

TEST_F(BoardView, SquareCellsAndSmoothStonesAtTheScreensResolution) {
  ASSERT_EQ(board.devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
  const QImage image = Shown();
  ASSERT_EQ(image.size(), QSize(900, 600));
  // Square, centred, the same size in every row and column, within the control.
  const QRect a1 = board.CellRect(0, 0);
  const QRect h8 = board.CellRect(7, 7);
  EXPECT_EQ(a1.width(), a1.height());
  EXPECT_EQ(h8.size(), a1.size());
  EXPECT_GE(a1.width(), 300 / 9 - 1);
  EXPECT_NEAR(a1.left() + h8.right(), 450, 2);
  EXPECT_NEAR(a1.top() + h8.bottom(), 300, 2);

  // Along the edge of the stone at d4, in device pixels: colours between the board's and the
  // stone's (smoothing), and no 2 x 2 block of equal pixels, which a picture painted at half
  // the resolution and doubled would show everywhere.
  const QRect d4 = board.CellRect(3, 3);
  const QPoint centre(d4.center().x() * 2 + 1, d4.center().y() * 2 + 1);
  const double radius = d4.width() * 2 * 0.42;
  int blocks = 0;
  int between = 0;
  const int samples = 72;
  for (int i = 0; i < samples; ++i) {
    const double angle = i * 2 * M_PI / samples;
    const int x = static_cast<int>(centre.x() + radius * std::cos(angle));
    const int y = static_cast<int>(centre.y() + radius * std::sin(angle));
    const QRgb p = image.pixel(x & ~1, y & ~1);
    if (p == image.pixel((x & ~1) + 1, y & ~1) && p == image.pixel(x & ~1, (y & ~1) + 1) &&
        p == image.pixel((x & ~1) + 1, (y & ~1) + 1))
      ++blocks;
    const int grey = qGray(image.pixel(x, y));
    if (grey > 60 && grey < 235) ++between;
  }
  EXPECT_LT(blocks, samples / 4);
  EXPECT_GT(between, samples / 2);
}

TEST_F(BoardView, AClickOnADrawnCellPlaysThatCell) {
  Shown();
  RecordMoves();
  // Just inside each corner of side 1's four legal cells at the start, and just outside.
  for (const auto& [x, y] : {std::pair{2, 3}, {3, 2}, {4, 5}, {5, 4}}) {
    const QRect cell = board.CellRect(x, y);
    for (const QPoint& at : {cell.topLeft() + QPoint(1, 1), cell.bottomRight() - QPoint(1, 1)})
      QTest::mouseClick(&board, Qt::LeftButton, {}, at);
    QTest::mouseClick(&board, Qt::LeftButton, {}, cell.topLeft() - QPoint(1, 1));
  }
  EXPECT_EQ(chosen, (std::vector<std::string>{"c4", "c4", "d3", "d3", "e6", "e6", "f5", "f5"}));
}

TEST_F(BoardView, TheKeyboardReachesTheBoardMovesItsFrameAndPlays) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* before = new QLineEdit(&window);
  layout->addWidget(before);
  board.setParent(&window);
  layout->addWidget(&board);
  window.resize(450, 350);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::setActiveWindow(&window);
  before->setFocus();
  QTest::keyClick(before, Qt::Key_Tab);
  ASSERT_TRUE(board.hasFocus()) << "Tab reaches the board";
  game.SetWho(kLocal, kLocal);

  // From d4: left to c4 and play it with Enter; then up to c3, where white plays with Space.
  QTest::keyClick(&board, Qt::Key_Left);
  EXPECT_EQ(board.FocusCell(), QPoint(2, 3));
  QTest::keyClick(&board, Qt::Key_Return);
  EXPECT_EQ(game.Cell(2, 3), 1);
  QTest::keyClick(&board, Qt::Key_Up);
  QTest::keyClick(&board, Qt::Key_Space);
  EXPECT_EQ(game.Cell(2, 2), 2);
  // Enter on a cell where the rules allow nothing does nothing; the frame stops at the edge.
  QTest::keyClick(&board, Qt::Key_Return);
  EXPECT_EQ(game.Board().FKomaCount, 6);
  for (int i = 0; i < 12; ++i) QTest::keyClick(&board, Qt::Key_Left);
  EXPECT_EQ(board.FocusCell(), QPoint(0, 2));
  // The frame is drawn where the keyboard is.
  const QImage image = board.grab().toImage();
  const QRect a3 = board.CellRect(0, 2);
  EXPECT_EQ(image.pixel(a3.left() * 2 + 4, a3.center().y() * 2), qRgb(255, 214, 0));
  board.setParent(nullptr);
}

TEST_F(BoardView, AScreenReaderHearsTheTurnTheCountAndEachCell) {
  game.SetWho(kLocal, kCpu);
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&board);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("盤面"));
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("青の番　青 2　白 2"));
  ASSERT_EQ(iface->childCount(), 64);
  const auto cell = [&](int x, int y) { return iface->child(x + 8 * y); };
  EXPECT_EQ(cell(0, 0)->text(QAccessible::Name), "a1");
  EXPECT_EQ(cell(3, 2)->text(QAccessible::Name), "d3");
  EXPECT_EQ(cell(7, 7)->text(QAccessible::Name), "h8");
  EXPECT_EQ(cell(3, 2)->text(QAccessible::Description), QStringLiteral("空き（置ける）"));
  EXPECT_EQ(cell(0, 0)->text(QAccessible::Description), QStringLiteral("空き"));
  EXPECT_EQ(cell(4, 3)->text(QAccessible::Description), QStringLiteral("青"));
  EXPECT_EQ(cell(3, 3)->text(QAccessible::Description), QStringLiteral("白"));
  EXPECT_EQ(iface->indexOfChild(cell(3, 2)), 19);
  EXPECT_EQ(cell(3, 2)->parent(), iface);
  // While the engine is to move the user may play nowhere.
  game.Play(_Rev{3, 2, 1});
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("白の番　青 4　白 1"));
  EXPECT_EQ(cell(2, 2)->text(QAccessible::Description), QStringLiteral("空き"));
  // The end.
  game.NewGame();
  PlayCells(game, RecordedGame("blue-wins-after-a-pass"));
  EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("終局　青 46　白 18"));
}

TEST_F(BoardView, MarksAndTurningStonesAreOnlyPainting) {
  Shown();
  game.SetWho(kLocal, kCpu);
  const QRgb lastMove = qRgb(232, 44, 44);
  const auto at = [&](const QImage& image, int x, int y) {
    const QPoint c = board.CellRect(x, y).center();
    return image.pixel(c.x() * 2 + 1, c.y() * 2 + 1);
  };
  // The user's turn: dots on the four cells, none elsewhere.
  QImage image = board.grab().toImage();
  const QRgb empty = at(image, 0, 0);
  EXPECT_NE(at(image, 2, 3), empty);
  EXPECT_EQ(at(image, 2, 2), empty);
  // A move: the game has changed at once, the turned stone is still turning, the move is marked
  // and, with the engine to move, no dot is left.
  QElapsedTimer sinceMove;
  sinceMove.start();
  game.Play(_Rev{2, 3, 1});
  board.SetInputOpen(false);  // as the turn goes to the engine
  EXPECT_EQ(game.Cell(3, 3), 1);
  image = board.grab().toImage();
  EXPECT_EQ(at(image, 2, 3), lastMove);
  EXPECT_EQ(at(image, 2, 4), empty);
  // Painted before half its turning time had passed, d4 still shows its old colour.
  if (sinceMove.elapsed() < FlipAnimation::kTurnMs / 2) {
    EXPECT_NE(at(image, 3, 3), at(image, 4, 3));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return at(board.grab().toImage(), 3, 3) == at(board.grab().toImage(), 4, 3); }, 5000));
  // The whole turning takes no longer than its time, however long the line.
  FlipAnimation flips;
  flips.Start(_Rev{0, 0, 1}, {{1, 0, 1}, {2, 0, 1}, {3, 0, 1}, {4, 0, 1}, {5, 0, 1}, {6, 0, 1}});
  EXPECT_EQ(flips.At(0).size(), 6u);
  EXPECT_TRUE(flips.At(FlipAnimation::kTotalMs).empty());
  // Without the marks the board shows none.
  board.SetLook({false, false, false, false});
  image = board.grab().toImage();
  EXPECT_NE(at(image, 2, 3), lastMove);
}

}  // namespace
