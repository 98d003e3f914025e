// The game screen's game: the match menu's choice set up, the menu bar and what its items do,
// and the turn and the count in the player panels. The windows' layout is in ChildWin.cpp.
#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include <algorithm>

#include "board/IReversi.h"
#include "net/NetRecord.h"
#include "net/RoomRules.h"
#include "net/Socket.h"
#include "platform/Dialogs.h"
#include "screens/ChildWin.h"
#include "screens/GamenRoom.h"
#include "screens/Help.h"
#include "screens/Image.h"
#include "screens/Kifu.h"
#include "screens/Menu.h"
#include "screens/MoveHint.h"
#include "screens/PlayerScore.h"
#include "screens/Session.h"
#include "screens/TurnFlow.h"

namespace {

constexpr std::int32_t kLocalSide = static_cast<std::int32_t>(PlayerKind::Local);
const QColor kTint(255, 236, 170);

// The side to move's panel is tinted: its palette holds the tint, which shows only while the
// panel fills its background.
void MarkPanel(QFrame* panel, bool marked) {
  if (panel->autoFillBackground() == marked) return;
  if (panel->palette().color(QPalette::Window) != kTint) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, kTint);
    panel->setPalette(palette);
  }
  panel->setAutoFillBackground(marked);
  panel->update();
}

QAction* AddAction(QMenu* menu, const QString& text, const QKeySequence& keys = {}) {
  QAction* action = menu->addAction(text);
  action->setShortcut(keys);
  return action;
}

QAction* AddOption(QMenu* menu, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setCheckable(true);
  return action;
}

}  // namespace

void TfrmGamen::BuildMenus() {
  mnuMain = new QMenuBar(this);
  QMenu* game = mnuMain->addMenu(QStringLiteral("ゲーム"));
  mnuNewGame = AddAction(game, QStringLiteral("新しいゲーム"), QKeySequence(Qt::CTRL | Qt::Key_N));
  game->addSeparator();
  mnuUndo = AddAction(game, QStringLiteral("待った"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  mnuRedo = AddAction(game, QStringLiteral("やり直し"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  mnuHint = AddAction(game, QStringLiteral("ヒント"), QKeySequence(Qt::CTRL | Qt::Key_H));
  game->addSeparator();
  mnuKifu = AddAction(game, QStringLiteral("棋譜…"), QKeySequence(Qt::CTRL | Qt::Key_L));
  game->addSeparator();
  mnuQuit = AddAction(game, QStringLiteral("終了"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  QMenu* view = mnuMain->addMenu(QStringLiteral("表示"));
  mnuTurnAndScore = AddOption(view, QStringLiteral("手番と石数"));
  mnuLastMove = AddOption(view, QStringLiteral("最後の手"));
  mnuLegalMoves = AddOption(view, QStringLiteral("置ける場所"));
  mnuAnimation = AddOption(view, QStringLiteral("アニメーション"));
  view->addSeparator();
  mnuClassic = AddOption(view, QStringLiteral("クラシック表示"));
  QMenu* help = mnuMain->addMenu(QStringLiteral("ヘルプ"));
  // F1 itself is the window's key (FormKeyDown), so the item only names it.
  mnuHelp = AddAction(help, QStringLiteral("ヘルプ\tF1"));
  mnuAbout = AddAction(help, QStringLiteral("バージョン情報"));

  connect(mnuNewGame, &QAction::triggered, this, &TfrmGamen::mnuNewGameClick);
  connect(mnuUndo, &QAction::triggered, this, &TfrmGamen::mnuUndoClick);
  connect(mnuRedo, &QAction::triggered, this, &TfrmGamen::mnuRedoClick);
  connect(mnuHint, &QAction::triggered, this, &TfrmGamen::mnuHintClick);
  connect(mnuKifu, &QAction::triggered, this, &TfrmGamen::mnuKifuClick);
  connect(mnuQuit, &QAction::triggered, this, &QWidget::close);
  for (QAction* option : {mnuTurnAndScore, mnuLastMove, mnuLegalMoves, mnuAnimation, mnuClassic})
    connect(option, &QAction::triggered, this, &TfrmGamen::mnuViewClick);
  connect(mnuHelp, &QAction::triggered, this, [this] { FormKeyDown(Qt::Key_F1); });
  connect(mnuAbout, &QAction::triggered, this, &TfrmGamen::mnuAboutClick);
}

void TfrmGamen::ApplyMatch(const MatchChoice& choice) {
  Game& game = session_.game;
  const bool network = game.NetPlay() && Room;
  engines_ = choice.engines;
  mmDllPath->clear();
  for (const FoundEngine& engine : engines_) mmDllPath->appendPlainText(QString::fromStdString(engine.libraryPath));
  game.SetWho(static_cast<int>(choice.Side(1).kind), static_cast<int>(choice.Side(2).kind));
  lbKuroName->setText(choice.Side(1).name);
  lbShiroKoma->setText(choice.Side(2).name);
  if (network) {
    TNetRecord names;
    names.SetKind(mkPlayerNames);
    names.SetTo(TNetRecord::Everyone);
    names.SetSub(1);
    names.SetBlackName(choice.Side(1).name);
    names.SetWhiteName(choice.Side(2).name);
    Room->Socket().SendRecord(names);
  }
  for (int side : {1, 2}) {
    const MatchSide& chosen = choice.Side(side);
    std::int32_t& netUser = side == 1 ? NetUser1 : NetUser2;
    // A side no member plays has no Net player whose leave could end this game.
    netUser = -1;
    switch (chosen.kind) {
      case PlayerKind::Cpu: {
        Flow->SetCpuPath(side - 1, chosen.libraryPath.c_str());
        const auto engine = std::find_if(engines_.begin(), engines_.end(),
                                         [&](const FoundEngine& e) { return e.libraryPath == chosen.libraryPath; });
        if (engine != engines_.end()) SetCpuStatus(side, *engine);
        break;
      }
      case PlayerKind::Net:
        if (!network || chosen.userRow < 0) break;
        Room->Socket().SendRecord(InviteRecord(static_cast<std::uint16_t>(chosen.userRow), side));
        netUser = Room->Socket().ClientNumbers().value(chosen.userRow, -1);
        break;
      default:
        if (frmMenu) (side == 1 ? imKuroFace : imShiroKoma)->Assign(*frmMenu->imChara);
        break;
    }
  }
  if (network)
    for (int side : {1, 2})
      if (choice.Side(side).kind != PlayerKind::Net) Room->Socket().SendPicture(side);
}

void TfrmGamen::SetCpuStatus(int side, const FoundEngine& engine) {
  TImage* face = side == 1 ? imKuroFace : imShiroKoma;
  QLabel* name = side == 1 ? lbKuroName : lbShiroKoma;
  face->LoadFromFile(EnginePicturePath(engine.libraryPath, engine.bitmap));  // a missing picture is ignored
  name->setText(engine.name);
}

void TfrmGamen::StartRoomAgain() {
  if (!session_.game.NetPlay() || !Room) return;
  ReturnToWaiting();
  TNetRecord reset;
  reset.SetKind(mkGame);
  reset.SetSub(gsReset);
  Room->Socket().SendRecord(reset);
}

void TfrmGamen::ReturnToWaiting() {
  Game& game = session_.game;
  // Both sides Net, and a new game that has not started: the board waits for an invitation or
  // for the moves of the next game.
  game.SetWho(static_cast<int>(PlayerKind::Net), static_cast<int>(PlayerKind::Net));
  // Blank until the host's next match setup sends the new faces.
  imKuroFace->Clear();
  imShiroKoma->Clear();
  game.NewGame();
  Flow->GameShori();
}

void TfrmGamen::mnuRestartClick() {
  if (session_.game.InProgress()) {
    session_.services.dialogs.ShowMessage(QStringLiteral("最後までやらないと再ゲームできません"), QStringLiteral("再ゲーム"));
    return;
  }
  StartOver();
}

void TfrmGamen::StartOver() {
  Flow->StopEngine();
  session_.game.NewGame();
  StartRoomAgain();
  RunMatchMenu();
  if (!closed_ && SetsUpGames()) Flow->GameShori();
}

void TfrmGamen::mnuNewGameClick() {
  if (!SetsUpGames()) return;  // a member waits for the host's games
  Game& game = session_.game;
  if (game.InProgress()) {
    if (!session_.services.dialogs.AskYesNo(QStringLiteral("対局を中断して新しいゲームを始めますか？"), QStringLiteral("新しいゲーム"))) return;
    // Left midway: counted as played, neither won nor lost.
    Flow->StopEngine();
    game.Stop();
  }
  StartOver();
}

void TfrmGamen::mnuUndoClick() {
  Game& game = session_.game;
  if (game.NetPlay() || !game.CanUndo()) return;
  Flow->StopEngine();
  Flow->Rewound(game.Undo());
}

void TfrmGamen::mnuRedoClick() {
  Game& game = session_.game;
  if (game.NetPlay() || !game.CanRedo()) return;
  Flow->StopEngine();
  Flow->Rewound(game.Redo());
}

void TfrmGamen::mnuHintClick() {
  if (!mnuHint->isEnabled() || engines_.empty()) return;
  // The strongest engine installed: the last in the menu's order.
  hint_->Ask(engines_.back().libraryPath, engines_.back().name);
}

void TfrmGamen::mnuKifuClick() {
  if (!gameLog_) return;
  if (!kifu_) {
    kifu_ = new TfrmKifu(*gameLog_, session_.exePath + QStringLiteral("velmora-review"), session_.services.dialogs, this);
    kifu_->OnPlayFrom = [this](const BoardModel& position, int side) { PlayFrom(position, side); };
    kifu_->CanPlayFrom = [this] { return CanPlayFrom(); };
  }
  kifu_->ShowLog();
}

bool TfrmGamen::CanPlayFrom() const { return !session_.game.NetPlay() && !engines_.empty(); }

void TfrmGamen::PlayFrom(const BoardModel& position, int sideToMove) {
  if (!CanPlayFrom()) return;
  Game& game = session_.game;
  if (game.InProgress()) {
    if (!session_.services.dialogs.AskYesNo(QStringLiteral("対局を中断して新しいゲームを始めますか？"), QStringLiteral("新しいゲーム"))) return;
    game.Stop();  // left midway: counted as played, neither won nor lost
  }
  Flow->StopEngine();
  game.StartFrom(position, sideToMove);
  // The user plays the side to move against the strongest engine, the one the hint asks.
  const FoundEngine& engine = engines_.back();
  MatchChoice choice;
  choice.engines = engines_;
  MatchSide& user = choice.sides[sideToMove == 2 ? 1 : 0];
  MatchSide& opponent = choice.sides[sideToMove == 2 ? 0 : 1];
  user = MatchSide{PlayerKind::Local, frmMenu ? frmMenu->UserName : QString(), {}, -1};
  opponent = MatchSide{PlayerKind::Cpu, engine.name, engine.libraryPath, -1};
  ApplyMatch(choice);
  Flow->GameShori();
  show();
  raise();
  activateWindow();
}

void TfrmGamen::mnuViewClick() {
  settings::Preferences& look = session_.preferences;
  look.showTurnAndScore = mnuTurnAndScore->isChecked();
  look.markLastMove = mnuLastMove->isChecked();
  look.markLegalMoves = mnuLegalMoves->isChecked();
  look.animate = mnuAnimation->isChecked();
  look.classicView = mnuClassic->isChecked();
  session_.SavePreferences();
  ApplyLook();
}

void TfrmGamen::mnuAboutClick() {
  session_.services.dialogs.ShowMessage(QStringLiteral("Velmora バージョン %1").arg(QCoreApplication::applicationVersion()),
                        QStringLiteral("バージョン情報"));
}

void TfrmGamen::ApplyLook() {
  const settings::Preferences& look = session_.preferences;
  mnuTurnAndScore->setChecked(look.showTurnAndScore);
  mnuLastMove->setChecked(look.markLastMove);
  mnuLegalMoves->setChecked(look.markLegalMoves);
  mnuAnimation->setChecked(look.animate);
  mnuClassic->setChecked(look.classicView);
  // The classic look has none of these.
  for (QAction* option : {mnuTurnAndScore, mnuLastMove, mnuLegalMoves, mnuAnimation}) option->setEnabled(!look.classicView);
  Reversi->SetLook({look.classicView, look.markLastMove, look.markLegalMoves, look.animate});
  ArrangeColumns();
  ShowTurnAndScore();
}

void TfrmGamen::GameChanged() {
  ShowTurnAndScore();
  UpdateMenus();
}

void TfrmGamen::ShowTurnAndScore() {
  const Game& game = session_.game;
  const bool shown = session_.preferences.showTurnAndScore && !session_.preferences.classicView;
  const struct {
    QFrame* panel;
    TPlayerScore* score;
    QLabel* state;
  } sides[2] = {{Panel3, scKuro, lbKuroState}, {Panel4, scShiro, lbShiroState}};
  for (int side : {1, 2}) {
    const auto& s = sides[side - 1];
    s.score->setVisible(shown);
    s.score->SetCount(game.Board().Count(side));
    s.state->setVisible(shown && Flow->ThinkingSide() == side);
    MarkPanel(s.panel, shown && game.Started() && !game.Over() && game.Turn() == side);
  }
}

void TfrmGamen::UpdateMenus() {
  const Game& game = session_.game;
  mnuNewGame->setEnabled(SetsUpGames());
  mnuUndo->setEnabled(!game.NetPlay() && game.CanUndo());
  mnuRedo->setEnabled(!game.NetPlay() && game.CanRedo());
  const bool usersTurn = !game.Over() && game.Who(game.Turn()) == kLocalSide && Reversi->InputOpen() && !Flow->AwaitingEcho();
  mnuHint->setEnabled(!engines_.empty() && usersTurn && !hint_->Asking() && !Reversi->Hint());
  mnuKifu->setEnabled(gameLog_ != nullptr);
}
