#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "game/Game.h"
#include "gamelog/GameLog.h"
#include "gamelog/OpponentStats.h"
#include "platform/Dialogs.h"
#include "screens/KifuTexts.h"

class GameListModel;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
class QTableView;
class QTableWidget;
class ReviewGraph;
class ReviewRun;
class TIReversi;

// 「棋譜」: every game kept in the game log, newest first, and the results against each opponent.
// A game opened from the list, pasted or read from a file is shown on a board of its own and
// stepped through; it can be copied as a transcript, reviewed move by move (検討) by the
// strongest engine, and played on from the position shown against an engine.
class TfrmKifu : public QWidget {
  Q_OBJECT

 public:
  // log: the game log; reviewProgram: velmora-review's path.
  TfrmKifu(const gamelog::GameLog& log, QString reviewProgram, platform::Dialogs dialogs, QWidget* parent = nullptr);
  ~TfrmKifu() override;

  // ここから対局: a game from this position, the side to move to play it. Not set: no button.
  std::function<void(const BoardModel& position, int sideToMove)> OnPlayFrom;
  // Whether a game from a position can be begun now (no network game, an engine installed).
  std::function<bool()> CanPlayFrom;

  // Reads the log again and shows the window; a file the log holds but cannot read is named
  // once in a message.
  void ShowLog();
  // The log changed: a game was added.
  void Reload();

  // The game shown: from the list, pasted, or read from a file.
  void ShowGame(const gamelog::GameRecord& game);
  // Shows the game in a file; answers false, after a message, when it is not one.
  bool OpenFile(const QString& path);
  // Shows the game the text on the clipboard holds (a transcript or a GGF game).
  void btPasteClick();
  void btCopyClick();
  void btReviewClick();
  void btStopClick();
  void btPlayFromClick();
  // The board after this many moves of the game shown.
  void ShowMoves(int count);
  int MovesShown() const { return shown_; }
  const std::optional<gamelog::GameRecord>& Shown() const { return game_; }
  const std::vector<std::optional<MoveReview>>& Reviews() const { return reviews_; }

  GameListModel* List() const { return list_; }
  QTableView* tvGames = nullptr;
  QComboBox* cbOpponent = nullptr;
  QTableWidget* twStats = nullptr;
  TIReversi* Board = nullptr;
  QPushButton* btFirst = nullptr;
  QPushButton* btBack = nullptr;
  QPushButton* btForward = nullptr;
  QPushButton* btLast = nullptr;
  QSlider* slMoves = nullptr;
  QLabel* lbPosition = nullptr;
  QListWidget* lbMoves = nullptr;
  QPushButton* btCopy = nullptr;
  QPushButton* btPaste = nullptr;
  QPushButton* btOpen = nullptr;
  QPushButton* btPlayFrom = nullptr;
  QPushButton* btReview = nullptr;
  QPushButton* btStop = nullptr;
  QProgressBar* pbReview = nullptr;
  ReviewGraph* Graph = nullptr;

 signals:
  // A review ended: every move judged, or stopped or failed.
  void ReviewEnded(bool complete);

 private:
  void BuildControls();
  void FillOpponents();
  void GameChosen();
  void Found(const MoveReview& review);
  void ReviewFinished(bool complete);
  void FillMoveList();
  void UpdateControls();
  void ShowBestMove();
  // The game in the text: GGF or a transcript; the reason in *why when it is neither.
  std::optional<gamelog::GameRecord> GameInText(const QByteArray& text, QString* why) const;

  const gamelog::GameLog& log_;
  platform::Dialogs dialogs_;
  GameListModel* list_ = nullptr;
  std::vector<gamelog::OpponentStats> stats_;
  QStringList named_;  // files already named as unreadable in this run
  Game replay_;        // the board's game: the shown one up to the move shown
  std::optional<gamelog::GameRecord> game_;
  int shown_ = 0;
  std::vector<std::optional<MoveReview>> reviews_;
  ReviewRun* review_ = nullptr;
};
