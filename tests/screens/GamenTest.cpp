#include <QAction>
#include <QMenuBar>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "board/IReversi.h"
#include "platform/Codec.h"
#include "screens/ChatHistory.h"
#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/Image.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include "settings/SaveRecord.h"
#include "tests/game/BoardText.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Wait.h"

namespace {
using Box = MessageRecorder::Box;
}

class GamenTest : public ProgramFixture {
 protected:
  // Dialog OK without network, then "スタート" in the match menu with both sides local. The
  // classic look gives the design's screen, whose arithmetic the first tests pin.
  void OpenGame(bool classic = false) {
    AddPictures({"face.bmp"});
    Start();
    if (classic) ChooseClassic();
    frmMenu->rgNet->Button(1)->click();
    frmMenu->edUserName->setText("taro");
    WhenShown(frmMenuWk, [] { frmMenuWk->btOk->click(); });
    frmMenu->btOk->click();
    ASSERT_TRUE(WaitUntil([] { return frmMenuWk->result() == QDialog::Accepted && !frmMenuWk->isVisible(); }));
    QCoreApplication::processEvents();
  }
  void ChooseClassic() {
    frmGamen->mnuClassic->setChecked(true);
    frmGamen->mnuViewClick();
  }
};

TEST_F(GamenTest, DesignSizeGivesTheDesignPanels) {
  OpenGame(true);
  EXPECT_EQ(frmGamen->size(), QSize(502, 371));
  EXPECT_EQ(frmGamen->Panel1->width(), 251);
  EXPECT_EQ(frmGamen->Panel2->width(), 125);
  EXPECT_EQ(frmGamen->Panel3->height(), 74);
  EXPECT_EQ(frmGamen->Panel4->height(), 74);
  // The chat panel is asked for three fifths (222) but fills what the column has left under the
  // menu bar, so the restart button stays inside the window.
  EXPECT_EQ(frmGamen->Panel5->height(), 371 - frmGamen->mnuMain->height() - 74 - 74 - 5 - 10);
  EXPECT_LE(frmGamen->btRestart->mapTo(frmGamen, QPoint(0, frmGamen->btRestart->height())).y(), 371);
  EXPECT_EQ(frmGamen->imKuroFace->x(), frmGamen->Panel3->width() / 2 - 16);
  EXPECT_EQ(frmGamen->Reversi->size(), frmGamen->Panel1->contentsRect().size());
  // The geometry is kept in the record as the window changes.
  EXPECT_EQ(Record().GamenWidth, 502);
  EXPECT_EQ(Record().BoardWidth, 251);
}

TEST_F(GamenTest, ResizeBringsTheColumnsBackToHalfAndQuarter) {
  OpenGame(true);
  frmGamen->resize(640, 400);
  QCoreApplication::processEvents();
  EXPECT_EQ(frmGamen->Panel1->width(), 320);
  EXPECT_EQ(frmGamen->Panel2->width(), 160);
  EXPECT_EQ(Record().GamenWidth, 640);
  EXPECT_EQ(Record().GamenHeight, 400);
  EXPECT_EQ(Record().PeapleWidth, frmGamen->Panel6->width());
  EXPECT_EQ(TheGame().Board().FKomaCount, 4) << "a resize repaints, it does not reset";
}

TEST_F(GamenTest, ARestoredGeometryKeepsItsPanelWidths) {
  AddPictures({"face.bmp"});
  Start();
  Record().GamenLeft = 40;
  Record().GamenTop = 30;
  Record().GamenWidth = 600;
  Record().GamenHeight = 420;
  Record().BoardWidth = 200;
  Record().PeapleWidth = 150;
  ChooseClassic();
  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText("taro");
  WhenShown(frmMenuWk, [] { frmMenuWk->btOk->click(); });
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([] { return !frmMenuWk->isVisible() && frmMenuWk->result() == QDialog::Accepted; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(frmGamen->geometry(), QRect(40, 30, 600, 420));
  EXPECT_EQ(frmGamen->Panel1->width(), 200);
  EXPECT_EQ(frmGamen->Panel6->width(), 150);
  EXPECT_EQ(frmGamen->Panel3->height(), 84);
}

TEST_F(GamenTest, MatchMenuStartsTheGameWithBothSidesLocal) {
  OpenGame();
  const Game& game = TheGame();
  EXPECT_EQ(game.Who(1), 1);
  EXPECT_EQ(game.Who(2), 1);
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_TRUE(frmGamen->Reversi->InputOpen());
  EXPECT_EQ(Record().SouNum, 1);
  EXPECT_EQ(Record().NetNum, 0);
  EXPECT_EQ(frmGamen->lbKuroName->text(), "taro");
  EXPECT_EQ(frmGamen->lbShiroKoma->text(), "taro");
  EXPECT_EQ(frmGamen->imKuroFace->Picture(), frmMenu->imChara->Picture());
  EXPECT_EQ(frmGamen->imShiroKoma->Picture(), frmMenu->imChara->Picture());
  EXPECT_TRUE(frmGamen->btRestart->isVisible());
}

TEST_F(GamenTest, RestartIsRefusedUntilTheGameHasEnded) {
  OpenGame();
  const Game& game = TheGame();
  frmGamen->Flow->MoveStep(_Rev{2, 3, 1});
  const int stones = game.Board().FKomaCount;
  frmGamen->btRestart->click();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0], (Box{"最後までやらないと再ゲームできません", "再ゲーム"}));
  EXPECT_EQ(game.Board().FKomaCount, stones);
  EXPECT_EQ(game.Turn(), 2);
  EXPECT_FALSE(frmMenuWk->isVisible());
}

TEST_F(GamenTest, RestartAfterTheEndResetsAndAsksForPlayersAgain) {
  OpenGame();
  Game& game = TheGame();
  PlayCells(game, RecordedGame("draw"));
  ASSERT_TRUE(game.Over());
  WhenShown(frmMenuWk, [] { frmMenuWk->btOk->click(); });
  frmGamen->btRestart->click();
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(frmMenuWk->result(), QDialog::Accepted);
  EXPECT_TRUE(game.InProgress());
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_EQ(Record().SouNum, 2);
  EXPECT_TRUE(frmGamen->Reversi->InputOpen());
}

TEST_F(GamenTest, CancelInTheRestartMenuEndsTheProgram) {
  OpenGame();
  TheGame().Stop();
  WhenShown(frmMenuWk, [] { frmMenuWk->btCancel->click(); });
  frmGamen->btRestart->click();
  EXPECT_TRUE(WaitUntil([&] { return programEnded; }));
}

TEST_F(GamenTest, ClosingWritesTheChatLogAndEndsTheProgram) {
  OpenGame();
  frmGamen->reMessage->appendPlainText(QStringLiteral("No.0(taro):こんにちは"));
  frmGamen->reMessage->appendPlainText(QStringLiteral("No.1(花子):やあ"));
  frmGamen->close();
  EXPECT_TRUE(programEnded);
  EXPECT_FALSE(frmGamen->isVisible());
  EXPECT_EQ(ReadFile(exePath + "Chat.log"), platform::ToCp932(QStringLiteral("No.0(taro):こんにちは\r\nNo.1(花子):やあ\r\n")));
  EXPECT_TRUE(TheGame().Over()) << "the game was left";
}

TEST_F(GamenTest, TheChatViewKeepsTheLastLinesAndChatLogEveryLine) {
  OpenGame();
  const int lines = ChatHistory::MaxLines + 1200;
  for (int i = 0; i < lines; ++i) frmGamen->reMessage->appendPlainText(QStringLiteral("No.1(花子):%1").arg(i));
  EXPECT_EQ(frmGamen->reMessage->document()->blockCount(), ChatHistory::MaxLines);
  EXPECT_TRUE(frmGamen->reMessage->toPlainText().endsWith(QStringLiteral("No.1(花子):%1").arg(lines - 1)));
  frmGamen->close();
  const QList<QByteArray> written = ReadFile(exePath + "Chat.log").split('\n');
  ASSERT_EQ(written.size(), lines + 1);  // every line ends in CR LF
  for (int i : {0, 1199, 1200, lines - 1})
    EXPECT_EQ(written[i], platform::ToCp932(QStringLiteral("No.1(花子):%1\r").arg(i)));
}

TEST_F(GamenTest, ReturnEmptiesTheMessageBoxWithoutARoom) {
  OpenGame();
  frmGamen->edMessage->setText(QStringLiteral("hello"));
  PressKey(frmGamen->edMessage, Qt::Key_Return);
  EXPECT_TRUE(frmGamen->edMessage->text().isEmpty());
  EXPECT_TRUE(frmGamen->reMessage->toPlainText().isEmpty()) << "the line comes only from the room's relay";
  frmGamen->edMessage->setText(QStringLiteral("x"));
  PressKey(frmGamen->edMessage, Qt::Key_A);
  EXPECT_EQ(frmGamen->edMessage->text(), "xa") << "other keys are the box's own";
}

TEST_F(GamenTest, MessageBoxHoldsAtMost215Bytes) {
  OpenGame();
  frmGamen->edMessage->clear();
  TypeText(frmGamen->edMessage, QString(214, QLatin1Char('a')));
  TypeText(frmGamen->edMessage, QStringLiteral("あ"));  // two bytes would make 216
  EXPECT_EQ(frmGamen->edMessage->text(), QString(214, QLatin1Char('a')));
  TypeText(frmGamen->edMessage, QStringLiteral("b"));
  EXPECT_EQ(platform::ToCp932(frmGamen->edMessage->text()).size(), 215);
}

TEST_F(GamenTest, DoubleClickOnAUserOpensTheStatisticsWindow) {
  OpenGame();
  frmGamen->lbPeaple->setCurrentRow(0);
  frmGamen->lbPeapleDblClick();
  EXPECT_FALSE(frmData->isVisible()) << "All is nobody";
  frmGamen->lbPeaple->addItem(QStringLiteral("花子"));
  frmGamen->lbPeaple->setCurrentRow(1);
  frmGamen->lbPeapleDblClick();
  EXPECT_TRUE(frmData->isVisible());
  EXPECT_EQ(frmData->lbName->text(), "花子");
}

TEST_F(GamenTest, F1OpensTheGameHelpFromAnyControl) {
  OpenGame();
  PressKey(frmGamen->Reversi, Qt::Key_F1);
  PressKey(frmGamen->btRestart, Qt::Key_F1);
  frmGamen->mnuHelp->trigger();
  ChooseClassic();  // the chat is there again
  PressKey(frmGamen->edMessage, Qt::Key_F1);
  PressKey(frmGamen->lbPeaple, Qt::Key_F1);
  EXPECT_EQ(helpPages, QStringList(5, exePath + "help/ame.html"));
}
