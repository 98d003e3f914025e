// The program as a user meets it, through the real windows: the dialog without network, the
// match menu with both sides local, a whole game played with the mouse, the result, a restart,
// closing, velm.dat written, and the next start reading it back; an engine that fails, and
// closing while one hangs.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "board/IReversi.h"
#include "screens/ChildWin.h"
#include "screens/Image.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include "settings/SaveFile.h"
#include "settings/SaveRecord.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/Files.h"
#include "tests/support/Wait.h"

namespace {

void SendMouse(QWidget* target, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace

class ProgramRun : public ProgramFixture {
 protected:
  // Runs fn in the match menu once it is open and waits until it has closed.
  void InMatchMenu(std::function<void()> open, std::function<void()> inMenu) {
    menuDone_ = false;
    WhenShown(frmMenuWk, [this, inMenu] {
      inMenu();
      menuDone_ = true;
    });
    open();
    ASSERT_TRUE(WaitUntil([this] { return menuDone_ && !frmMenuWk->isVisible(); }));
    QCoreApplication::processEvents();
  }

  // Plays the first legal cell of the side to move with the mouse until the result is shown.
  void PlayToTheEnd(TIReversi* board) {
    const Game& game = TheGame();
    for (int move = 0; move < 100 && !game.Over(); ++move) {
      _Rev cell{};
      ASSERT_TRUE(game.Board().CheckKomaPut(game.Turn(), &cell)) << "move " << move;
      ASSERT_TRUE(board->InputOpen()) << "a local side to move";
      const QPoint at = CellCentre(cell.x, cell.y);
      const int before = game.Board().FKomaCount;
      SendMouse(board, QEvent::MouseMove, at);
      SendMouse(board, QEvent::MouseButtonPress, at);
      SendMouse(board, QEvent::MouseButtonRelease, at);
      QCoreApplication::processEvents();
      ASSERT_EQ(game.Board().FKomaCount, before + 1) << "the click at cell " << cell.x << "," << cell.y << " was not taken";
      if (move == 16) SaveScreenshot();
    }
  }

  // A picture of a game in progress for the README, when asked for.
  void SaveScreenshot() {
    if (qEnvironmentVariableIsEmpty("VELM_DOCS_SCREENSHOT")) return;
    QDir().mkpath(VELM_DOCS_DIR);
    frmGamen->grab().save(QStringLiteral(VELM_DOCS_DIR "/gamen.png"));
  }

  // The dialog without network, then side 1 played by the only engine, which lies in
  // DllCpu/Mini, against the user.
  void StartAgainstEngine(const char* library) {
    AddPictures({"a.bmp"});
    QDir().mkpath(exePath + "DllCpu/Mini");
    ASSERT_TRUE(QFile::copy(library, exePath + "DllCpu/Mini/TEKUM.DLL"));
    Start();
    frmMenu->rgNet->Button(1)->click();
    frmMenu->edUserName->setText(QStringLiteral("たろう"));
    InMatchMenu([] { frmMenu->btOk->click(); }, [] {
      ASSERT_TRUE(EnginesListed());
      frmMenuWk->cbPlay1->setCurrentIndex(frmMenuWk->cbPlay1->findText(QStringLiteral("Cpu")));
      frmMenuWk->cbPlay1Click();
      frmMenuWk->btOk->click();
    });
    EXPECT_EQ(Record().SouNum, 1) << "counted as the game starts";
  }

  bool menuDone_ = false;
};

TEST_F(ProgramRun, AWholeGameWithoutNetworkThenTheNextStart) {
  AddPictures({"a.bmp", "b.bmp", "c.bmp"});
  QFile::remove(exePath + "b.bmp");
  ASSERT_TRUE(QFile::copy(VELM_CHARACTERS_DIR "/kaeru.bmp", exePath + "b.bmp"));
  Start();
  EXPECT_FALSE(QFileInfo::exists(exePath + "velm.dat"));

  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText(QStringLiteral("たろう"));
  int chosen = 0;
  while (QFileInfo(frmMenu->CharaList[chosen]).fileName() != "b.bmp") {
    frmMenu->btNext->click();
    chosen = frmMenu->imChara->Tag;
  }
  InMatchMenu([] { frmMenu->btOk->click(); }, [] { frmMenuWk->btOk->click(); });
  EXPECT_FALSE(frmMenu->isVisible());
  ASSERT_TRUE(frmGamen->isVisible());
  EXPECT_EQ(frmGamen->imKuroFace->Picture(), QImage(VELM_CHARACTERS_DIR "/kaeru.bmp"));

  TIReversi* board = frmGamen->Reversi;
  const Game& game = TheGame();
  PlayToTheEnd(board);
  ASSERT_TRUE(game.HasResult());
  ASSERT_FALSE(boxes.boxes().empty());
  const MessageRecorder::Box result = boxes.boxes().back();
  EXPECT_EQ(result.caption, "結果");
  EXPECT_EQ(Record().SouNum, 1);
  if (game.KuroCount() == game.ShiroCount()) {
    EXPECT_EQ(result.text, "引き分けです");
    EXPECT_EQ(Record().SouWin + Record().SouLose, 0);
  } else {
    const QString winner = game.KuroCount() > game.ShiroCount() ? "青" : "白";
    EXPECT_EQ(result.text, QStringLiteral("%1の勝ちです\n青：%2\n白：%3").arg(winner).arg(game.KuroCount()).arg(game.ShiroCount()));
    EXPECT_EQ(Record().SouWin, 1) << "both sides are this user's";
    EXPECT_EQ(Record().SouLose, 1);
  }
  EXPECT_EQ(Record().NetNum, 0);
  const std::int32_t wins = Record().SouWin;

  InMatchMenu([] { frmGamen->btRestart->click(); }, [] { frmMenuWk->btOk->click(); });
  EXPECT_EQ(game.Board().FKomaCount, 4);
  EXPECT_TRUE(game.InProgress());
  EXPECT_EQ(Record().SouNum, 2);

  frmGamen->reMessage->appendPlainText(QStringLiteral("また遊ぼう"));
  frmGamen->close();
  EXPECT_TRUE(programEnded);
  EXPECT_TRUE(QFileInfo::exists(exePath + "Chat.log"));
  Stop();
  ASSERT_EQ(QFileInfo(exePath + "velm.dat").size(), 412);

  // The next start: the dialog, the record counters and the character come back.
  boxes.clear();
  Start();
  EXPECT_TRUE(boxes.boxes().empty()) << "the file passes its check";
  EXPECT_EQ(frmMenu->rgNet->ItemIndex(), 1);
  EXPECT_FALSE(frmMenu->edPortNo->isVisible());
  EXPECT_EQ(frmMenu->edUserName->text(), QStringLiteral("たろう"));
  EXPECT_EQ(frmMenu->imChara->Tag, chosen);
  EXPECT_EQ(Record().SouNum, 2);
  EXPECT_EQ(Record().SouWin, wins);
  EXPECT_EQ(Record().GamenWidth, 502);
  EXPECT_EQ(Record().BoardWidth, 251);
}

TEST_F(ProgramRun, ATamperedDataFileIsResetWithAMessage) {
  AddPictures({"a.bmp"});
  Start();
  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText(QStringLiteral("hanako"));
  Record().SouWin = 5;
  Stop();
  // The byte stored holds SouWin plus a random mask, so it is changed rather than overwritten
  // with a fixed value that it may already hold.
  QFile file(exePath + "velm.dat");
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.seek(112));  // SouWin
  char stored = 0;
  ASSERT_TRUE(file.getChar(&stored));
  ASSERT_TRUE(file.seek(112));
  ASSERT_TRUE(file.putChar(static_cast<char>(stored ^ 0x40)));
  file.close();

  Start();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0],
            (MessageRecorder::Box{"データが不正に書き換えられているためデータが初期値に戻りました", "Velmora"}));
  EXPECT_EQ(Record().SouWin, 0);
  EXPECT_EQ(frmMenu->edUserName->text(), "hanako") << "the settings read stay on screen";
}

TEST_F(ProgramRun, AnEngineThatCrashesEndsTheGameWithoutAResultAndARestartFollows) {
  StartAgainstEngine(TINY_CRASH_IN_MOVE);
  ASSERT_TRUE(WaitUntil([this] { return !boxes.boxes().empty(); }, 30000));
  EXPECT_EQ(boxes.boxes(), (std::vector<MessageRecorder::Box>{
                               {QStringLiteral(u"ミニエンジン・テストが異常終了しました"), QStringLiteral("Velmora")}}));
  EXPECT_EQ(Record().SouNum, 0) << "nothing counted";
  EXPECT_EQ(Record().SouWin + Record().SouLose, 0);
  const QByteArray maps = ReadFile(QStringLiteral("/proc/self/maps"));
  ASSERT_FALSE(maps.isEmpty());
  EXPECT_FALSE(maps.contains("DllCpu/")) << "no engine library is ever loaded into the program";

  // "再ゲーム" at once: the menu opens with no refusal, offering the engine again, and a game of
  // two users starts.
  boxes.clear();
  InMatchMenu([] { frmGamen->btRestart->click(); }, [] {
    ASSERT_TRUE(EnginesListed());
    EXPECT_EQ(frmMenuWk->cbPlay1->currentText(), QStringLiteral("Cpu")) << "the last game's choice";
    frmMenuWk->cbPlay1->setCurrentIndex(0);
    frmMenuWk->cbPlay1Click();
    frmMenuWk->btOk->click();
  });
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(TheGame().Board().FKomaCount, 4);
  EXPECT_TRUE(frmGamen->Reversi->InputOpen());
  EXPECT_EQ(Record().SouNum, 1);
}

TEST_F(ProgramRun, ClosingWhileAnEngineHangsEndsAtOnceAndKeepsTheRecord) {
  StartAgainstEngine(TINY_NEVER_RETURNS);
  ASSERT_TRUE(WaitUntil([] { return !ChildProcesses().empty(); }, 10000)) << "the engine is thinking";
  frmGamen->reMessage->appendPlainText(QStringLiteral("またね"));
  frmGamen->close();
  EXPECT_TRUE(programEnded);
  EXPECT_TRUE(WaitUntil([] { return ChildProcesses().empty(); }, 10000)) << "the runner was killed and reaped";
  Stop();
  EXPECT_EQ(QFileInfo(exePath + "velm.dat").size(), 412);
  EXPECT_TRUE(QFileInfo::exists(exePath + "Chat.log"));
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ProgramRun, InstalledTheUsersFilesLiveInTheirOwnFolderAfterTheProgramsOwn) {
  const QString data = QFileInfo(exePath + "../data/").absoluteFilePath();
  ASSERT_TRUE(QDir().mkpath(data));
  AddPictures({"face.bmp"});
  ASSERT_TRUE(QFile::copy(VELM_CHARACTERS_DIR "/kaeru.bmp", data + "mine.bmp"));
  AddEngines();
  AddEngines(data, "Mine");
  Start(data);
  EXPECT_EQ(frmMenu->CharaList, QStringList({exePath + "face.bmp", data + "mine.bmp"}));

  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText(QStringLiteral("たろう"));
  QStringList engines;
  InMatchMenu([] { frmMenu->btOk->click(); }, [&] {
    ASSERT_TRUE(EnginesListed());
    frmMenuWk->btOk->click();
  });
  engines = frmGamen->mmDllPath->toPlainText().split('\n');
  ASSERT_EQ(engines.size(), 2);
  EXPECT_TRUE(engines[0].startsWith(exePath + "DllCpu/Tekum/")) << engines[0].toStdString();
  EXPECT_TRUE(engines[1].startsWith(data + "DllCpu/Mine/")) << engines[1].toStdString();

  frmGamen->close();
  Stop();
  EXPECT_EQ(QFileInfo(data + "velm.dat").size(), 412);
  EXPECT_TRUE(QFileInfo::exists(data + "Chat.log"));
  EXPECT_FALSE(QFileInfo::exists(exePath + "velm.dat"));
  EXPECT_FALSE(QFileInfo::exists(exePath + "Chat.log"));
}

TEST_F(ProgramRun, GamesAnotherCopySavedMeanwhileAreKept) {
  AddPictures({"a.bmp"});
  Start();
  frmMenu->edUserName->setText(QStringLiteral("hanako"));
  Record().SouNum += 2;  // this run's games, as the board counts them
  // Another copy, started at the same time, ended first with three games of its own.
  SaveRecord other;
  other.Reset();
  other.SouNum = 3;
  other.Checksum = settings::ComputeChecksum(other);
  ASSERT_TRUE(settings::ReplaceFile(exePath + "velm.dat", other.ToImage()).ok);
  Stop();
  Start();
  EXPECT_EQ(Record().SouNum, 5);
  EXPECT_EQ(frmMenu->edUserName->text(), QStringLiteral("hanako")) << "the settings of the copy that saved last";
}
