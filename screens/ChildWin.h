#pragma once
#include <QWidget>

#include <memory>
#include <cstdint>
#include <vector>

#include "enginehost/CpuDiscovery.h"
#include "game/GameListener.h"
#include "screens/MatchChoice.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QSplitterHandle;
class KeyPreview;
class MoveHint;
class TIReversi;
class TImage;
class TGamenRoom;
class TPlayerScore;
class TurnFlow;
class ChatHistory;
class GameLogger;
class TfrmKifu;
class BoardModel;
namespace gamelog {
class GameLog;
}
class Game;
struct SaveRecord;
struct Session;

// The game screen: the menu bar, the board on the left, the two players and the chat in the
// middle, the connected users on the right. It holds the SaveRecord (owned by the program,
// which keeps it alive until the dialog has written velm.dat), shows the session's game on its
// board component and referees it with its turn flow.
//
// Without network the chat and the user list are of no use: they are hidden and the board gets
// their room, unless the classic look is chosen, which gives back the design's screen.
class TfrmGamen : public QWidget, private GameListener {
  Q_OBJECT

 public:
  TfrmGamen(::SaveRecord& record, Session& session);
  ~TfrmGamen() override;

  QFrame* Panel1 = nullptr;
  QSplitterHandle* Splitter1 = nullptr;
  QFrame* Panel2 = nullptr;
  QFrame* Panel3 = nullptr;
  TImage* imKuroFace = nullptr;
  QLabel* lbKuroName = nullptr;
  QSplitterHandle* Splitter2 = nullptr;
  QFrame* Panel4 = nullptr;
  TImage* imShiroKoma = nullptr;
  QLabel* lbShiroKoma = nullptr;
  QSplitterHandle* Splitter3 = nullptr;
  QFrame* Panel5 = nullptr;
  QLineEdit* edMessage = nullptr;
  QPlainTextEdit* reMessage = nullptr;
  QPlainTextEdit* mmDllPath = nullptr;  // hidden: one engine library path per line
  QPushButton* btRestart = nullptr;
  QSplitterHandle* Splitter4 = nullptr;
  QFrame* Panel6 = nullptr;
  QFrame* Panel7 = nullptr;
  QListWidget* lbPeaple = nullptr;

  // The menu bar: ゲーム, 表示 and ヘルプ.
  QMenuBar* mnuMain = nullptr;
  QAction* mnuNewGame = nullptr;
  QAction* mnuUndo = nullptr;
  QAction* mnuRedo = nullptr;
  QAction* mnuHint = nullptr;
  QAction* mnuKifu = nullptr;
  QAction* mnuQuit = nullptr;
  QAction* mnuTurnAndScore = nullptr;
  QAction* mnuLastMove = nullptr;
  QAction* mnuLegalMoves = nullptr;
  QAction* mnuAnimation = nullptr;
  QAction* mnuClassic = nullptr;
  QAction* mnuHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // The turn and the count beside each name, and 「考え中…」 while a side's engine thinks.
  TPlayerScore* scKuro = nullptr;
  TPlayerScore* scShiro = nullptr;
  QLabel* lbKuroState = nullptr;
  QLabel* lbShiroState = nullptr;

  TIReversi* Reversi = nullptr;
  TurnFlow* Flow = nullptr;
  // The network room this screen is joined to (AttachRoom); none without one.
  TGamenRoom* Room = nullptr;
  // Host: the client numbers of the running game's Net players, as the match set them up;
  // -1 for none. The room ends the game when either leaves.
  std::int32_t NetUser1 = -1;
  std::int32_t NetUser2 = -1;
  ::SaveRecord& SaveRecord;

  // The game this screen shows and plays, the session's.
  Game& Played();
  // 「棋譜」, made when first opened; none while no game log is kept.
  TfrmKifu* Kifu() const { return kifu_; }
  // A game from this position against the strongest engine, the side to move played here.
  void PlayFrom(const BoardModel& position, int sideToMove);
  bool CanPlayFrom() const;

  void SaveGamenPos();
  // Whether this machine sets up the games: the host of the room, or any machine without network.
  bool SetsUpGames() const;
  // Sets the next game up as the match menu decided: players, names, faces, engines, and in a
  // network game the names, invitations and faces for the room.
  void ApplyMatch(const MatchChoice& choice);
  // Shows the engine's picture and name for side 1 or 2, as the engine reported them to the
  // search.
  void SetCpuStatus(int side, const FoundEngine& engine);
  // A network game starts again: this board returns to waiting and the room is told, so that
  // every other board does the same.
  void StartRoomAgain();
  // This board waits for the host's next game: both sides Net, a new game not yet begun.
  void ReturnToWaiting();

 public slots:
  void Splitter1Moved();
  void Panel3Resize();
  void Panel4Resize();
  void Panel5Resize();
  void edMessageKeyDown(int key);
  void lbPeapleDblClick();
  void mnuRestartClick();
  void mnuNewGameClick();
  void mnuUndoClick();
  void mnuRedoClick();
  void mnuHintClick();
  void mnuKifuClick();
  void mnuViewClick();
  void mnuAboutClick();

 protected:
  void setVisible(bool visible) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void FormCreate();
  void FormShow();
  // FormShow's first step, applied before the window reaches the screen so that the platform
  // window is made at the restored place and size.
  void RestoreGeometry();
  // The part of FormShow that waits for the window to be on screen: the network's first
  // records, the match menu and the panel heights.
  void FormShowStarted();
  void FormResize();
  void FormKeyDown(int key);
  void FormCloseQuery();
  void SetColumnWidths(int board, int players, int peaple);
  // The match menu, modally, and the game it sets up; its cancel ends the program. Answers
  // whether it set up a game.
  bool RunMatchMenu();
  // A new board and the match menu: 再ゲーム and 新しいゲーム alike.
  void StartOver();
  // The chat and the user list where they are of use, the board in the rest of the room.
  bool NetworkLayout() const;
  void ArrangeColumns();
  // The look chosen in the 表示 menu, on the board and in the panels.
  void ApplyLook();
  // The player panels and the menus follow the game.
  void ShowTurnAndScore();
  void UpdateMenus();
  int MenuHeight() const;

  // GameListener: the panels and the menus follow every change.
  void Placed(const _Rev&, const std::vector<_Rev>&) override { GameChanged(); }
  void Passed(int) override { GameChanged(); }
  void Ended() override { GameChanged(); }
  void Restarted() override { GameChanged(); }
  void Rewound() override { GameChanged(); }
  void PlayersSet() override { GameChanged(); }
  void GameChanged();
  // Every game shown from now on goes into the game log beside velm.dat.
  void KeepGames();

  Session& session_;
  QSplitter* columns_ = nullptr;
  QSplitter* playerColumn_ = nullptr;
  KeyPreview* keyPreview_ = nullptr;
  ChatHistory* chatHistory_ = nullptr;  // reMessage's lines, all of them, for Chat.log
  MoveHint* hint_ = nullptr;
  std::vector<FoundEngine> engines_;  // as the last match menu listed them
  std::unique_ptr<gamelog::GameLog> gameLog_;  // none while the session keeps no files
  std::unique_ptr<GameLogger> logger_;
  TfrmKifu* kifu_ = nullptr;
  bool closed_ = false;
  // Set while a restored geometry is in force: a resize to the restored size keeps the saved
  // panel widths instead of halving.
  bool keepSavedPanels_ = false;
};

extern TfrmGamen* frmGamen;
