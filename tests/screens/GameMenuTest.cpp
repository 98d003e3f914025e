// The game screen's menu bar and panels, through the real windows: undo, redo and a hint against
// stand-in engines, the turn and the count in the player panels, a new game in the middle of
// one, the match menu's and the view's choices kept in this run and the next, and the room the
// board gets without network.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/Dialogs.h"
#include "screens/PlayerScore.h"
#include "screens/RadioGroup.h"
#include "settings/SaveRecord.h"
#include "tests/game/BoardText.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Wait.h"

namespace {

class GameMenuTest : public ProgramFixture {
 protected:
  // Puts a stand-in engine into DllCpu/<folder>.
  void AddStandIn(const QString& folder, const char* library) {
    QDir().mkpath(exePath + "DllCpu/" + folder);
    ASSERT_TRUE(QFile::copy(library, exePath + "DllCpu/" + folder + "/TEKUM.DLL"));
  }
  // Dialog OK without network; `inMenu` runs in the match menu once its engines are listed.
  void OpenGame(std::function<void()> inMenu) {
    AddPictures({"face.bmp"});
    Start();
    frmMenu->edUserName->setText("taro");
    RunMenu([] { frmMenu->btOk->click(); }, std::move(inMenu));
  }
  void RunMenu(std::function<void()> open, std::function<void()> inMenu) {
    bool done = false;
    WhenShown(frmMenuWk, [&] {
      ASSERT_TRUE(EnginesListed());
      inMenu();
      if (frmMenuWk->isVisible()) frmMenuWk->btOk->click();
      done = true;
    });
    open();
    ASSERT_TRUE(WaitUntil([&] { return done && !frmMenuWk->isVisible(); }));
    QCoreApplication::processEvents();
  }
  static void ChooseEngine(int side, int row) {
    QComboBox* kind = side == 1 ? frmMenuWk->cbPlay1 : frmMenuWk->cbPlay2;
    kind->setCurrentIndex(kind->findText("Cpu"));
    side == 1 ? frmMenuWk->cbPlay1Click() : frmMenuWk->cbPlay2Click();
    (side == 1 ? frmMenuWk->lbCpu1 : frmMenuWk->lbCpu2)->setCurrentRow(row);
    side == 1 ? frmMenuWk->lbCpu1Click() : frmMenuWk->lbCpu2Click();
  }
  void Click(int x, int y) { QTest::mouseClick(frmGamen->Reversi, Qt::LeftButton, {}, CellCentre(x, y)); }
};

TEST_F(GameMenuTest, UndoRedoAndAHintAgainstStandInEnginesWithTheTurnInThePanels) {
  AddStandIn("Aslow", TINY_SLOW);  // three seconds for each move
  AddStandIn("Zfast", TINY_ENGINE);
  OpenGame([] { ChooseEngine(2, 0); });
  const Game& game = TheGame();
  ASSERT_EQ(game.Who(2), static_cast<int>(PlayerKind::Cpu));
  frmGamen->show();
  EXPECT_TRUE(frmGamen->scKuro->isVisible());
  EXPECT_EQ(frmGamen->scKuro->Count(), 2);
  EXPECT_TRUE(frmGamen->Panel3->autoFillBackground()) << "the side to move's panel is marked";
  EXPECT_FALSE(frmGamen->Panel4->autoFillBackground());
  EXPECT_FALSE(frmGamen->mnuUndo->isEnabled());

  // The user's move; the engine thinks, and its panel says so.
  Click(2, 3);
  EXPECT_EQ(frmGamen->scKuro->Count(), 4);
  EXPECT_TRUE(frmGamen->Panel4->autoFillBackground());
  ASSERT_TRUE(WaitUntil([] { return frmGamen->lbShiroState->isVisible(); }));
  EXPECT_EQ(frmGamen->lbShiroState->text(), QStringLiteral("考え中…"));
  // 待った stops the engine and takes the move back; the record does not change.
  ASSERT_TRUE(frmGamen->mnuUndo->isEnabled());
  frmGamen->mnuUndo->trigger();
  EXPECT_FALSE(frmGamen->lbShiroState->isVisible());
  EXPECT_EQ(frmGamen->Flow->ThinkingSide(), 0);
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_EQ(game.Turn(), 1);
  EXPECT_TRUE(frmGamen->Reversi->InputOpen());
  EXPECT_EQ(Record().SouNum, 1);
  // やり直し plays it again, and the engine is asked again.
  ASSERT_TRUE(frmGamen->mnuRedo->isEnabled());
  frmGamen->mnuRedo->trigger();
  EXPECT_EQ(game.Cell(2, 3), 1);
  EXPECT_FALSE(frmGamen->mnuRedo->isEnabled());
  ASSERT_TRUE(WaitUntil([] { return frmGamen->Flow->ThinkingSide() == 2; }));
  frmGamen->mnuUndo->trigger();

  // ヒント asks the last engine listed; its cell is marked until a move is made.
  ASSERT_TRUE(frmGamen->mnuHint->isEnabled());
  frmGamen->mnuHint->trigger();
  ASSERT_TRUE(WaitUntil([] { return frmGamen->Reversi->Hint().has_value(); }, 10000));
  const _Rev hint = *frmGamen->Reversi->Hint();
  EXPECT_TRUE(game.IsLegal(hint));
  EXPECT_FALSE(frmGamen->mnuHint->isEnabled());
  Click(hint.x, hint.y);
  EXPECT_FALSE(frmGamen->Reversi->Hint().has_value());
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(GameMenuTest, ANewGameInTheMiddleAsksAndTheLeftGameCountsAsPlayed) {
  OpenGame([] {});
  QStringList asked;
  bool answer = false;
  boxes.onQuestion([&](const MessageRecorder::Box& box) {
    asked << box.text + "|" + box.caption;
    return answer;
  });
  Click(2, 3);
  frmGamen->mnuNewGame->trigger();  // いいえ: the game goes on
  EXPECT_EQ(asked, QStringList{QStringLiteral("対局を中断して新しいゲームを始めますか？|新しいゲーム")});
  EXPECT_EQ(TheGame().Board().FKomaCount, 5);
  EXPECT_FALSE(frmMenuWk->isVisible());

  answer = true;
  RunMenu([] { frmGamen->mnuNewGame->trigger(); }, [] {});
  EXPECT_EQ(TheGame().Board().FKomaCount, 4);
  EXPECT_TRUE(TheGame().InProgress());
  EXPECT_EQ(Record().SouNum, 2) << "the left game was played, and a new one begins";
  EXPECT_EQ(Record().SouWin + Record().SouLose, 0);
  // After the end nothing is in progress, and nothing is asked.
  asked.clear();
  PlayCells(TheGame(), RecordedGame("draw"));
  RunMenu([] { frmGamen->mnuNewGame->trigger(); }, [] {});
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(GameMenuTest, TheLastMatchAndViewChoicesComeBackInThisRunAndTheNext) {
  AddStandIn("Aone", TINY_ENGINE);
  AddStandIn("Btwo", TINY_ENGINE);
  OpenGame([] { ChooseEngine(1, 1); });
  frmGamen->mnuLastMove->setChecked(false);
  frmGamen->mnuViewClick();
  const auto offered = [] {
    EXPECT_EQ(frmMenuWk->cbPlay1->currentText(), "Cpu");
    EXPECT_EQ(frmMenuWk->lbCpu1->currentRow(), 1);
    EXPECT_EQ(frmMenuWk->cbPlay2->currentText(), "local");
    frmMenuWk->btCancel->click();
  };
  PlayCells(TheGame(), RecordedGame("draw"));
  RunMenu([] { frmGamen->btRestart->click(); }, offered);
  Stop();
  Start();
  EXPECT_FALSE(frmGamen->mnuLastMove->isChecked());
  EXPECT_FALSE(frmGamen->Reversi->CurrentLook().lastMove);
  frmMenu->edUserName->setText("taro");
  RunMenu([] { frmMenu->btOk->click(); }, offered);
}

TEST_F(GameMenuTest, WithoutNetworkTheBoardTakesTheRoomOfTheChatAndTheUsers) {
  OpenGame([] {});
  EXPECT_FALSE(frmGamen->edMessage->isVisible());
  EXPECT_FALSE(frmGamen->reMessage->isVisible());
  EXPECT_FALSE(frmGamen->Panel6->isVisible());
  EXPECT_GT(frmGamen->Panel1->width(), 502 / 2);
  const QRect a1 = frmGamen->Reversi->CellRect(0, 0);
  EXPECT_EQ(a1.width(), a1.height());
  // velm.dat keeps the widths of the network layout.
  EXPECT_EQ(Record().BoardWidth, 251);
  // The classic look gives the design's screen back.
  frmGamen->mnuClassic->setChecked(true);
  frmGamen->mnuViewClick();
  EXPECT_TRUE(frmGamen->reMessage->isVisible());
  EXPECT_TRUE(frmGamen->Panel6->isVisible());
  EXPECT_EQ(frmGamen->Panel1->width(), 251);
  EXPECT_FALSE(frmGamen->scKuro->isVisible());
}

}  // namespace
