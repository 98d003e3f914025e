#include "screens/Kifu.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "board/IReversi.h"
#include "gamelog/FromGame.h"
#include "gamelog/GgfFormat.h"
#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"
#include "platform/RegularFile.h"
#include "screens/GameListModel.h"
#include "screens/ReviewGraph.h"
#include "screens/ReviewRun.h"

namespace {

constexpr qint64 kLargestFile = 1 << 20;
const QString kCaption = QStringLiteral("棋譜");

QPushButton* Button(const QString& text, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(hint);
  button->setAutoDefault(false);
  return button;
}

// Later, on the window's own turn: a box opened from inside a reload or a game's change would
// run its loop in the middle of it.
void TellLater(QWidget* window, const platform::Dialogs& dialogs, const QString& text) {
  QTimer::singleShot(0, window, [dialogs, text] { dialogs.ShowMessage(text, kCaption); });
}

}  // namespace

TfrmKifu::TfrmKifu(const gamelog::GameLog& log, QString reviewProgram, platform::Dialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), dialogs_(std::move(dialogs)) {
  review_ = new ReviewRun(std::move(reviewProgram), this);
  connect(review_, &ReviewRun::Found, this, &TfrmKifu::Found);
  connect(review_, &ReviewRun::Ended, this, [this](bool complete) {
    if (!complete) TellLater(this, dialogs_, QStringLiteral("検討できませんでした"));
    ReviewFinished(complete);
  });
  BuildControls();
  UpdateControls();
}

TfrmKifu::~TfrmKifu() = default;

void TfrmKifu::BuildControls() {
  setWindowTitle(kCaption);
  // Room for the list, the board and the moves, but never larger than the screen it opens on
  // (a high pixel ratio makes a small screen of a large one).
  QSize size(1180, 660);
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableSize() * 9 / 10);
  resize(size);
  auto* split = new QSplitter(Qt::Horizontal, this);
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(split);

  // The games and the results against each opponent.
  auto* games = new QWidget(split);
  auto* gamesColumn = new QVBoxLayout(games);
  gamesColumn->setContentsMargins(0, 0, 0, 0);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel(QStringLiteral("相手"), games));
  cbOpponent = new QComboBox(games);
  cbOpponent->setToolTip(QStringLiteral("この相手との対局だけを表示します"));
  filterRow->addWidget(cbOpponent, 1);
  gamesColumn->addLayout(filterRow);
  list_ = new GameListModel(this);
  tvGames = new QTableView(games);
  tvGames->setModel(list_);
  tvGames->setSelectionBehavior(QAbstractItemView::SelectRows);
  tvGames->setSelectionMode(QAbstractItemView::SingleSelection);
  tvGames->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvGames->verticalHeader()->hide();
  tvGames->verticalHeader()->setDefaultSectionSize(tvGames->fontMetrics().height() + 6);
  // Widths from the texts, not from every row: the log may hold thousands of games.
  const QFontMetrics metrics = tvGames->fontMetrics();
  tvGames->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("2026-12-08 17:44")) + 16);
  tvGames->setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral("ヨザクラ（エンジン）")) + 8);
  tvGames->setColumnWidth(2, metrics.horizontalAdvance(QStringLiteral("ヨザクラ（エンジン）")) + 8);
  tvGames->horizontalHeader()->setStretchLastSection(true);
  tvGames->setAccessibleName(QStringLiteral("対局の一覧"));
  gamesColumn->addWidget(tvGames, 3);
  gamesColumn->addWidget(new QLabel(QStringLiteral("相手ごとの成績"), games));
  twStats = new QTableWidget(0, 5, games);
  twStats->setHorizontalHeaderLabels({QStringLiteral("相手"), QStringLiteral("対局"), QStringLiteral("勝ち"),
                                      QStringLiteral("負け"), QStringLiteral("引分")});
  twStats->verticalHeader()->hide();
  twStats->setEditTriggers(QAbstractItemView::NoEditTriggers);
  twStats->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  twStats->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  twStats->setAccessibleName(QStringLiteral("相手ごとの成績"));
  gamesColumn->addWidget(twStats, 1);

  // The game shown: the board, the steps, the tools and the review.
  auto* shown = new QWidget(split);
  auto* shownRow = new QHBoxLayout(shown);
  shownRow->setContentsMargins(0, 0, 0, 0);
  auto* column = new QVBoxLayout;
  shownRow->addLayout(column, 3);
  Board = new TIReversi(replay_, shown);
  Board->SetLook({false, true, false, true});
  Board->SetInputOpen(false);
  Board->setFocusPolicy(Qt::NoFocus);
  Board->setMinimumSize(240, 240);
  column->addWidget(Board, 3);
  auto* steps = new QHBoxLayout;
  btFirst = Button(QStringLiteral("|◀"), QStringLiteral("最初の局面"), shown);
  btBack = Button(QStringLiteral("◀"), QStringLiteral("一手戻す（←）"), shown);
  btForward = Button(QStringLiteral("▶"), QStringLiteral("一手進める（→）"), shown);
  btLast = Button(QStringLiteral("▶|"), QStringLiteral("最後の局面"), shown);
  slMoves = new QSlider(Qt::Horizontal, shown);
  slMoves->setAccessibleName(QStringLiteral("手数"));
  lbPosition = new QLabel(shown);
  lbPosition->setMinimumWidth(lbPosition->fontMetrics().horizontalAdvance(QStringLiteral("60 / 60 ")));
  for (QWidget* w : std::initializer_list<QWidget*>{btFirst, btBack, btForward, btLast}) steps->addWidget(w);
  column->addLayout(steps);
  auto* position = new QHBoxLayout;
  position->addWidget(slMoves, 1);
  position->addWidget(lbPosition);
  column->addLayout(position);
  auto* tools = new QHBoxLayout;
  btCopy = Button(QStringLiteral("コピー"), QStringLiteral("棋譜（f5d6c3…）をクリップボードに入れます"), shown);
  btPaste = Button(QStringLiteral("貼り付け"), QStringLiteral("クリップボードの棋譜を表示します"), shown);
  btOpen = Button(QStringLiteral("開く…"), QStringLiteral("GGF形式の棋譜ファイルを開きます"), shown);
  btPlayFrom = Button(QStringLiteral("ここから対局"), QStringLiteral("表示している局面からエンジンと対局します"), shown);
  for (QWidget* w : std::initializer_list<QWidget*>{btCopy, btPaste, btOpen, btPlayFrom}) tools->addWidget(w);
  column->addLayout(tools);
  auto* reviewRow = new QHBoxLayout;
  btReview = Button(QStringLiteral("検討"), QStringLiteral("最強のエンジンで全ての手を評価します"), shown);
  pbReview = new QProgressBar(shown);
  pbReview->setAccessibleName(QStringLiteral("検討の進み具合"));
  btStop = Button(QStringLiteral("中止"), QStringLiteral("検討をやめます"), shown);
  reviewRow->addWidget(btReview);
  reviewRow->addWidget(pbReview, 1);
  reviewRow->addWidget(btStop);
  column->addLayout(reviewRow);
  Graph = new ReviewGraph(shown);
  column->addWidget(Graph, 1);
  lbMoves = new QListWidget(shown);
  lbMoves->setAccessibleName(QStringLiteral("手順"));
  lbMoves->setMinimumWidth(lbMoves->fontMetrics().horizontalAdvance(QStringLiteral("悪手　60　後攻　パス　-64（最善 パス -64）完全読み")));
  shownRow->addWidget(lbMoves, 2);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  split->setSizes({500, 680});

  connect(cbOpponent, &QComboBox::currentIndexChanged, this, [this](int index) {
    std::optional<GameListModel::Opponent> opponent;
    if (index > 0 && index <= static_cast<int>(stats_.size()))
      opponent = GameListModel::Opponent{stats_[static_cast<std::size_t>(index - 1)].kind, stats_[static_cast<std::size_t>(index - 1)].name};
    list_->SetFilter(opponent);
  });
  connect(tvGames->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmKifu::GameChosen);
  connect(btFirst, &QPushButton::clicked, this, [this] { ShowMoves(0); });
  connect(btBack, &QPushButton::clicked, this, [this] { ShowMoves(shown_ - 1); });
  connect(btForward, &QPushButton::clicked, this, [this] { ShowMoves(shown_ + 1); });
  connect(btLast, &QPushButton::clicked, this, [this] { ShowMoves(game_ ? static_cast<int>(game_->moves.size()) : 0); });
  connect(slMoves, &QSlider::valueChanged, this, &TfrmKifu::ShowMoves);
  connect(lbMoves, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) ShowMoves(row + 1);
  });
  connect(Graph, &ReviewGraph::MovesChosen, this, &TfrmKifu::ShowMoves);
  connect(btCopy, &QPushButton::clicked, this, &TfrmKifu::btCopyClick);
  connect(btPaste, &QPushButton::clicked, this, &TfrmKifu::btPasteClick);
  connect(btOpen, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("棋譜を開く"), log_.Folder(),
                                                      QStringLiteral("GGF (*.ggf);;すべてのファイル (*)"));
    if (!path.isEmpty()) OpenFile(path);
  });
  connect(btPlayFrom, &QPushButton::clicked, this, &TfrmKifu::btPlayFromClick);
  connect(btReview, &QPushButton::clicked, this, &TfrmKifu::btReviewClick);
  connect(btStop, &QPushButton::clicked, this, &TfrmKifu::btStopClick);

  // The arrow keys step through the game wherever the focus is in this window.
  const struct {
    QKeySequence keys;
    std::function<void()> step;
  } keys[] = {
      {QKeySequence(Qt::Key_Left), [this] { ShowMoves(shown_ - 1); }},
      {QKeySequence(Qt::Key_Right), [this] { ShowMoves(shown_ + 1); }},
      {QKeySequence(Qt::Key_Home), [this] { ShowMoves(0); }},
      {QKeySequence(Qt::Key_End), [this] { ShowMoves(game_ ? static_cast<int>(game_->moves.size()) : 0); }},
      {QKeySequence::Copy, [this] { btCopyClick(); }},
      {QKeySequence::Paste, [this] { btPasteClick(); }},
  };
  for (const auto& key : keys) connect(new QShortcut(key.keys, this), &QShortcut::activated, this, key.step);
}

void TfrmKifu::ShowLog() {
  Reload();
  show();
  raise();
  activateWindow();
}

void TfrmKifu::Reload() {
  gamelog::LoadedLog loaded = log_.Load();
  QStringList unread;
  for (const QString& name : loaded.skipped)
    if (!named_.contains(name)) unread << name;
  named_ << unread;
  list_->SetGames(std::move(loaded.games));
  stats_ = gamelog::CountOpponents(list_->Games());
  FillOpponents();
  if (!unread.isEmpty())
    TellLater(this, dialogs_, QStringLiteral("次のファイルは棋譜として読めないので飛ばしました：\n") + unread.join(QLatin1Char('\n')));
}

void TfrmKifu::FillOpponents() {
  const QString chosen = cbOpponent->currentText();
  {
    const QSignalBlocker quiet(cbOpponent);
    cbOpponent->clear();
    cbOpponent->addItem(QStringLiteral("すべての相手"));
    for (const gamelog::OpponentStats& s : stats_) cbOpponent->addItem(PlayerText({s.name, s.kind}));
  }
  const int again = std::max(0, cbOpponent->findText(chosen));
  cbOpponent->setCurrentIndex(again);
  emit cbOpponent->currentIndexChanged(again);  // the list follows even when the index stays

  twStats->setRowCount(static_cast<int>(stats_.size()));
  for (int row = 0; row < twStats->rowCount(); ++row) {
    const gamelog::OpponentStats& s = stats_[static_cast<std::size_t>(row)];
    const QString cells[] = {PlayerText({s.name, s.kind}), QString::number(s.games), QString::number(s.wins),
                             QString::number(s.losses), QString::number(s.draws)};
    for (int column = 0; column < 5; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      twStats->setItem(row, column, item);
    }
  }
}

void TfrmKifu::GameChosen() {
  const int row = tvGames->currentIndex().row();
  if (row >= 0 && row < list_->rowCount()) ShowGame(list_->GameAt(row).game);
}

void TfrmKifu::ShowGame(const gamelog::GameRecord& game) {
  review_->Stop();
  game_ = game;
  reviews_.assign(game_->moves.size(), std::nullopt);
  Graph->SetReviews(reviews_);
  pbReview->setRange(0, static_cast<int>(reviews_.size()));
  pbReview->setValue(0);
  FillMoveList();
  {
    const QSignalBlocker quiet(slMoves);
    slMoves->setRange(0, static_cast<int>(game_->moves.size()));
  }
  shown_ = -1;  // nothing of this game on the board yet
  ShowMoves(0);
}

void TfrmKifu::FillMoveList() {
  const QSignalBlocker quiet(lbMoves);
  lbMoves->clear();
  if (!game_) return;
  for (std::size_t i = 0; i < game_->moves.size(); ++i) {
    auto* item = new QListWidgetItem(MoveLine(static_cast<int>(i) + 1, game_->moves[i], reviews_[i] ? &*reviews_[i] : nullptr));
    if (reviews_[i] && reviews_[i]->Blunder()) item->setForeground(QColor(200, 0, 0));
    lbMoves->addItem(item);
  }
}

void TfrmKifu::ShowMoves(int count) {
  if (!game_) return;
  const int total = static_cast<int>(game_->moves.size());
  count = std::clamp(count, 0, total);
  if (count == shown_) return;
  const auto& moves = game_->moves;
  if (shown_ >= 0 && count == shown_ + 1) {
    // One step on: played on the board, so the stones turn as in a game.
    const gamelog::Move& move = moves[static_cast<std::size_t>(shown_)];
    if (!move.IsPass()) replay_.Play(_Rev{move.x, move.y, move.side});
  } else {
    BoardModel start;
    gamelog::SetUpBoard(game_->start, start);
    replay_.StartFrom(start, game_->start.sideToMove);
    for (int i = 0; i < count; ++i) {
      const gamelog::Move& move = moves[static_cast<std::size_t>(i)];
      if (!move.IsPass()) replay_.Play(_Rev{move.x, move.y, move.side});
    }
  }
  shown_ = count;
  {
    const QSignalBlocker quietSlider(slMoves);
    const QSignalBlocker quietList(lbMoves);
    slMoves->setValue(count);
    lbMoves->setCurrentRow(count - 1);
  }
  Graph->SetShown(count);
  lbPosition->setText(QStringLiteral("%1 / %2").arg(count).arg(total));
  ShowBestMove();
  UpdateControls();
}

void TfrmKifu::ShowBestMove() {
  if (!game_ || shown_ >= static_cast<int>(reviews_.size())) return;
  const std::optional<MoveReview>& next = reviews_[static_cast<std::size_t>(shown_)];
  if (!next || next->best.size() != 2) return;
  Board->ShowHint(_Rev{next->best[0].unicode() - u'a', next->best[1].unicode() - u'1', next->side});
}

void TfrmKifu::UpdateControls() {
  const bool shown = game_.has_value();
  const int total = shown ? static_cast<int>(game_->moves.size()) : 0;
  btFirst->setEnabled(shown && shown_ > 0);
  btBack->setEnabled(shown && shown_ > 0);
  btForward->setEnabled(shown && shown_ < total);
  btLast->setEnabled(shown && shown_ < total);
  slMoves->setEnabled(shown);
  btCopy->setEnabled(shown);
  btReview->setEnabled(shown && total > 0 && !review_->Running());
  btStop->setEnabled(review_->Running());
  btPlayFrom->setVisible(static_cast<bool>(OnPlayFrom));
  btPlayFrom->setEnabled(shown && OnPlayFrom && (!CanPlayFrom || CanPlayFrom()) && !replay_.Over() &&
                         (replay_.Board().CheckKomaPut(1) || replay_.Board().CheckKomaPut(2)));
}

void TfrmKifu::btCopyClick() {
  if (!game_) return;
  // A game from the usual start is its transcript; one from a position of its own needs that
  // position, which only the game file holds.
  const QString text = game_->start == gamelog::Position::Standard() ? gamelog::FormatTranscript(game_->moves)
                                                                     : QString::fromUtf8(gamelog::WriteGgf(*game_));
  QApplication::clipboard()->setText(text);
}

std::optional<gamelog::GameRecord> TfrmKifu::GameInText(const QByteArray& text, QString* why) const {
  if (text.contains("(;")) return gamelog::ReadGgf(text, why);
  gamelog::TranscriptError error;
  const auto moves = gamelog::ParseTranscript(QString::fromUtf8(text), gamelog::Position::Standard(), &error);
  if (!moves) {
    *why = error.moveNumber == 0 ? QStringLiteral("棋譜の形ではありません")
                                 : QStringLiteral("%1手目の %2 は打てません").arg(error.moveNumber).arg(error.token);
    return std::nullopt;
  }
  gamelog::GameRecord game;
  game.started = QDateTime::currentDateTimeUtc();
  game.moves = *moves;
  gamelog::Replay end(game.start);
  for (const gamelog::Move& move : game.moves) end.Play(move);
  game.finished = end.Over();
  return game;
}

void TfrmKifu::btPasteClick() {
  QString why;
  const auto game = GameInText(QApplication::clipboard()->text().trimmed().toUtf8(), &why);
  if (!game) {
    dialogs_.ShowMessage(QStringLiteral("棋譜として読めません（%1）").arg(why), kCaption);
    return;
  }
  tvGames->clearSelection();
  ShowGame(*game);
}

bool TfrmKifu::OpenFile(const QString& path) {
  const platform::RegularFileRead read = platform::ReadRegularFile(path, kLargestFile);
  QString why = QStringLiteral("読み込めません");
  std::optional<gamelog::GameRecord> game;
  if (read.outcome == platform::RegularFileRead::Outcome::Read) game = GameInText(read.bytes, &why);
  if (!game) {
    dialogs_.ShowMessage(QStringLiteral("「%1」を棋譜として読めません（%2）").arg(path, why), kCaption);
    return false;
  }
  tvGames->clearSelection();
  ShowGame(*game);
  return true;
}

void TfrmKifu::btPlayFromClick() {
  if (!btPlayFrom->isEnabled() || !OnPlayFrom) return;
  OnPlayFrom(replay_.Board(), replay_.Turn());
}

void TfrmKifu::btReviewClick() {
  if (!game_ || review_->Running()) return;
  reviews_.assign(game_->moves.size(), std::nullopt);
  Graph->SetReviews(reviews_);
  FillMoveList();
  pbReview->setValue(0);
  review_->Start(gamelog::WriteGgf(*game_));
  UpdateControls();
}

void TfrmKifu::btStopClick() {
  if (!review_->Running()) return;
  review_->Stop();
  ReviewFinished(false);
}

void TfrmKifu::Found(const MoveReview& review) {
  if (!game_ || review.number < 1 || review.number > static_cast<int>(reviews_.size())) return;
  const auto at = static_cast<std::size_t>(review.number - 1);
  reviews_[at] = review;
  if (QListWidgetItem* item = lbMoves->item(review.number - 1)) {
    item->setText(MoveLine(review.number, game_->moves[at], &review));
    if (review.Blunder()) item->setForeground(QColor(200, 0, 0));
  }
  Graph->SetReviews(reviews_);
  pbReview->setValue(static_cast<int>(std::count_if(reviews_.begin(), reviews_.end(), [](const auto& r) { return r.has_value(); })));
  if (review.number == shown_ + 1) ShowBestMove();
}

void TfrmKifu::ReviewFinished(bool complete) {
  UpdateControls();
  emit ReviewEnded(complete);
}
