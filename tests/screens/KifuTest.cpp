// The game log and the record window: every game the board shows kept, ended or left; the
// window's list, stepping, copy and paste through the clipboard, the review in its own process,
// and a game played on from a position shown.
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTableWidget>

#include "game/CellName.h"
#include "gamelog/GgfFormat.h"
#include "gamelog/Transcript.h"
#include "screens/GameListModel.h"
#include "screens/GameLogger.h"
#include "screens/Kifu.h"
#include "screens/ReviewGraph.h"
#include "tests/gamelog/GameFixtures.h"
#include "tests/game/BoardText.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Files.h"

namespace {

using gamelog::GameLog;
using gamelog::LoadedLog;

const QString kTwoPasses = QString::fromLatin1(TestData("two_passes.txt"));
const QString kWipeout = QStringLiteral("f5f6d3e3f3g5h5f4f7");  // black 13, white 0, both stuck
constexpr auto kLocal = static_cast<int>(PlayerKind::Local);
constexpr auto kCpu = static_cast<int>(PlayerKind::Cpu);
constexpr auto kNet = static_cast<int>(PlayerKind::Net);

void PlayTranscript(Game& game, const QString& transcript, int count = -1) {
  const auto moves = *gamelog::ParseTranscript(transcript);
  for (const gamelog::Move& move : moves) {
    if (count-- == 0) return;
    if (!move.IsPass()) game.Play(_Rev{move.x, move.y, move.side});
  }
}

TEST(GameLogger, KeepsEveryGameEndedOrLeftAndNothingUnplayed) {
  QTemporaryDir dir;
  const GameLog log(dir.path() + "/games");
  Game game;
  GameLogger logger(game, log, [&](int side) {
    return gamelog::Player{side == 1 ? QStringLiteral("taro") : QStringLiteral("ヨザクラ"), static_cast<PlayerKind>(game.Who(side))};
  });
  // Ended on the board, both sides stuck with empty cells left.
  game.SetWho(kLocal, kCpu);
  PlayTranscript(game, kWipeout);
  ASSERT_TRUE(game.HasResult());
  // Left: a new game over one in progress, a watched game the host resets, the window closed.
  game.NewGame();
  game.SetWho(kLocal, kLocal);
  PlayTranscript(game, kTwoPasses, 4);
  game.NewGame();
  game.SetWho(kNet, kNet);
  game.NewGame();
  PlayTranscript(game, kTwoPasses, 2);
  game.SetWho(kNet, kNet);
  game.NewGame();
  game.SetWho(kLocal, kCpu);
  PlayTranscript(game, kTwoPasses, 3);
  game.Stop();
  // Nothing placed, or everything taken back: nothing kept.
  game.NewGame();
  game.SetWho(kLocal, kCpu);
  PlayTranscript(game, kTwoPasses, 1);
  game.Undo();
  game.Stop();

  const LoadedLog loaded = log.Load();
  EXPECT_TRUE(loaded.skipped.isEmpty());
  ASSERT_EQ(loaded.games.size(), 4u);
  std::vector<std::pair<QString, bool>> kept;
  for (const auto& logged : loaded.games) kept.emplace_back(gamelog::FormatTranscript(logged.game.moves), logged.game.finished);
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<std::pair<QString, bool>>{
                      {kTwoPasses.left(4), false}, {kTwoPasses.left(6), false}, {kTwoPasses.left(8), false}, {kWipeout, true}}));
  const auto ended = std::find_if(loaded.games.begin(), loaded.games.end(), [](const auto& l) { return l.game.finished; });
  EXPECT_EQ(ended->game.first.name, QStringLiteral("taro"));
  EXPECT_EQ(ended->game.first.kind, PlayerKind::Local);
  EXPECT_EQ(ended->game.second.kind, PlayerKind::Cpu);
}

class KifuWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    platform::MapDesignFonts();
  }
  gamelog::GameRecord Logged(const QString& moves, const char* when) {
    return GameOf(moves, "taro", PlayerKind::Local, "ヨザクラ", PlayerKind::Cpu, when);
  }
  QTemporaryDir dir_;
  GameLog log_{dir_.path() + "/games"};
  MessageRecorder boxes_;
};

TEST_F(KifuWindow, ListsTheLogStepsThroughAGameAndCopiesAndPastesTranscripts) {
  ASSERT_EQ(log_.Save(Logged(kTwoPasses, "2026-12-01T10:00:00")), QString());
  ASSERT_EQ(log_.Save(Logged(kWipeout, "2026-12-03T10:00:00")), QString());
  ASSERT_TRUE(WriteFile(log_.Folder() + "damaged.ggf", "(;GM[Othello]B[z9];)"));

  TfrmKifu window(log_, QString(), boxes_.dialogs());
  window.ShowLog();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.boxes().empty(); }));
  EXPECT_EQ(boxes_.boxes().front().text, QStringLiteral("次のファイルは棋譜として読めないので飛ばしました：\ndamaged.ggf"));
  ASSERT_EQ(window.List()->rowCount(), 2);
  EXPECT_EQ(window.List()->index(0, 3).data().toString(), QStringLiteral("先行勝ち 13-0"));
  EXPECT_EQ(window.twStats->rowCount(), 1);
  EXPECT_EQ(window.twStats->item(0, 1)->text(), QStringLiteral("2"));

  // The older game: the board steps through it with the keys.
  window.tvGames->selectRow(1);
  ASSERT_TRUE(window.Shown());
  EXPECT_EQ(window.MovesShown(), 0);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (int i = 0; i < 3; ++i) QTest::keyClick(window.tvGames, Qt::Key_Right);
  EXPECT_EQ(window.MovesShown(), 3);
  Game expected;
  PlayCells(expected, CellsOf("d3 e3 f2"));
  EXPECT_EQ(BoardRows(window.Board->Shown()), BoardRows(expected));
  QTest::keyClick(window.tvGames, Qt::Key_End);
  EXPECT_EQ(window.MovesShown(), 62);
  EXPECT_EQ(window.slMoves->value(), 62);
  EXPECT_EQ(window.lbMoves->currentRow(), 61);
  QTest::keyClick(window.tvGames, Qt::Key_Left);
  EXPECT_EQ(window.MovesShown(), 61);
  window.slMoves->setValue(10);
  EXPECT_EQ(window.Board->Shown().Moves().size(), 10u);

  window.btCopy->click();
  EXPECT_EQ(QApplication::clipboard()->text(), kTwoPasses);
  QApplication::clipboard()->setText(QStringLiteral(" F5 f6 d3 "));
  window.btPaste->click();
  ASSERT_TRUE(window.Shown());
  EXPECT_EQ(gamelog::FormatTranscript(window.Shown()->moves), QStringLiteral("f5f6d3"));
  QApplication::clipboard()->setText(QStringLiteral("f5 a1"));
  window.btPaste->click();
  EXPECT_EQ(boxes_.boxes().back().text, QStringLiteral("棋譜として読めません（2手目の a1 は打てません）"));
  EXPECT_EQ(gamelog::FormatTranscript(window.Shown()->moves), QStringLiteral("f5f6d3")) << "the game shown stays";

  if (qEnvironmentVariableIsSet("VELM_SHOTS"))
    window.grab().save(qEnvironmentVariable("VELM_SHOTS") + QStringLiteral("/kifu-list.png"));
  // Only the games against one opponent.
  ASSERT_TRUE(window.OpenFile(QStringLiteral(VELM_REVIEW_TEST_DATA "/endgame.ggf")));
  EXPECT_EQ(window.Shown()->moves.size(), 11u);
  window.cbOpponent->setCurrentIndex(1);
  EXPECT_EQ(window.List()->rowCount(), 2);
}

TEST_F(KifuWindow, ReviewsAGameInItsOwnProcessMarksBlundersAndShowsTheBestMove) {
  TfrmKifu window(log_, QStringLiteral(VELM_REVIEW_PROGRAM), boxes_.dialogs());
  window.resize(1180, 660);
  window.show();
  ASSERT_TRUE(window.OpenFile(QStringLiteral(VELM_REVIEW_TEST_DATA "/endgame.ggf")));
  EXPECT_EQ(window.Board->Shown().Board().FKomaCount, 55) << "the game's own start, nine cells empty";
  QSignalSpy ended(&window, &TfrmKifu::ReviewEnded);
  window.btReview->click();
  EXPECT_TRUE(window.btStop->isEnabled());
  ASSERT_TRUE(ended.wait(60000));
  EXPECT_TRUE(ended.front().front().toBool());
  EXPECT_EQ(window.pbReview->value(), 11);
  ASSERT_TRUE(window.Reviews()[0]);
  // White's b7 gave away 16 discs against c8: a blunder, in the list and on the graph.
  EXPECT_TRUE(window.lbMoves->item(0)->text().startsWith(QStringLiteral("悪手　1　後攻　b7　-4（最善 c8 -20）完全読み")));
  EXPECT_FALSE(window.lbMoves->item(3)->text().startsWith(QStringLiteral("悪手")));
  const QImage graph = window.Graph->grab().toImage();
  const QPoint at = (QPointF(window.Graph->XOf(1), window.Graph->YOf(-4)) * graph.devicePixelRatio()).toPoint();
  const QColor mark = graph.pixelColor(at);
  EXPECT_GT(mark.red(), 180);
  EXPECT_LT(mark.green(), 80);
  // The best move of the position shown is marked on the board.
  ASSERT_TRUE(window.Board->Hint());
  EXPECT_EQ(QString::fromStdString(CellName(window.Board->Hint()->x, window.Board->Hint()->y)), QStringLiteral("c8"));
  if (qEnvironmentVariableIsSet("VELM_SHOTS"))
    window.grab().save(qEnvironmentVariable("VELM_SHOTS") + QStringLiteral("/kifu.png"));

  // Stopped at once by the user: no message; a review that cannot run says so.
  window.btReview->click();
  window.btStop->click();
  EXPECT_FALSE(window.btStop->isEnabled());
  EXPECT_TRUE(boxes_.boxes().empty());
  TfrmKifu broken(log_, dir_.path() + "/no-such-program", boxes_.dialogs());
  broken.OpenFile(QStringLiteral(VELM_REVIEW_TEST_DATA "/endgame.ggf"));
  broken.btReview->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.boxes().empty(); }));
  EXPECT_EQ(boxes_.boxes().back().text, QStringLiteral("検討できませんでした"));
}

class KifuProgram : public ProgramFixture {};

TEST_F(KifuProgram, GamesPlayedAreListedAndAGameGoesOnFromAPositionShown) {
  QDir().mkpath(exePath + "DllCpu/Zfast");
  ASSERT_TRUE(QFile::copy(TINY_ENGINE, exePath + "DllCpu/Zfast/TEKUM.DLL"));
  Start();
  frmMenu->edUserName->setText("taro");
  bool chosen = false;
  WhenShown(frmMenuWk, [&] {
    ASSERT_TRUE(EnginesListed());
    frmMenuWk->btOk->click();  // two local sides
    chosen = true;
  });
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([&] { return chosen && !frmMenuWk->isVisible(); }));
  Game& game = TheGame();
  const auto wipeout = gamelog::ParseTranscript(kWipeout);
  for (const gamelog::Move& move : *wipeout)
    if (!move.IsPass()) frmGamen->Flow->MoveStep(_Rev{move.x, move.y, move.side});
  ASSERT_TRUE(game.HasResult());

  frmGamen->mnuKifu->trigger();
  TfrmKifu* kifu = frmGamen->Kifu();
  ASSERT_TRUE(kifu);
  ASSERT_EQ(kifu->List()->rowCount(), 1);
  EXPECT_EQ(kifu->List()->index(0, 1).data().toString(), QStringLiteral("taro"));
  EXPECT_EQ(kifu->List()->index(0, 3).data().toString(), QStringLiteral("先行勝ち 13-0"));

  // From the position after d3 e3 f2, white to move: white is the user, black the engine.
  QApplication::clipboard()->setText(kTwoPasses);
  kifu->btPaste->click();
  kifu->ShowMoves(3);
  ASSERT_TRUE(kifu->btPlayFrom->isEnabled());
  kifu->btPlayFrom->click();
  EXPECT_EQ(BoardRows(game.StartBoard()), BoardRows(kifu->Board->Shown()));
  EXPECT_EQ(game.Who(1), kCpu);
  EXPECT_EQ(game.Who(2), kLocal);
  EXPECT_EQ(frmGamen->lbShiroKoma->text(), QStringLiteral("taro"));
  // The user's c5, then the engine's answer.
  frmGamen->show();
  QTest::mouseClick(frmGamen->Reversi, Qt::LeftButton, {}, CellCentre(2, 4));
  ASSERT_TRUE(WaitUntil([&] { return game.Moves().size() >= 2 && game.Turn() == 2; }, 10000));
}

}  // namespace
