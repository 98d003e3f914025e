#include "screens/ChildWin.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>

#include "board/IReversi.h"
#include "board/StoneCursors.h"
#include "gamelog/GameLog.h"
#include "enginehost/EngineCalls.h"
#include "net/NetRecord.h"
#include "net/RoomRules.h"
#include "net/Socket.h"
#include "platform/DesignFonts.h"
#include "platform/Dialogs.h"
#include "platform/ReplaceFile.h"
#include "screens/ByteLimit.h"
#include "screens/ChatHistory.h"
#include "screens/Controls.h"
#include "screens/Data.h"
#include "screens/GamenLayout.h"
#include "screens/GameLogger.h"
#include "screens/GamenRoom.h"
#include "screens/Help.h"
#include "screens/Image.h"
#include "screens/KeyPreview.h"
#include "screens/Kifu.h"
#include "screens/Menu.h"
#include "screens/MenuWk.h"
#include "screens/MoveHint.h"
#include "screens/PlayerScore.h"
#include "screens/Session.h"
#include "screens/TurnFlow.h"
#include "settings/SaveRecord.h"

TfrmGamen* frmGamen = nullptr;

namespace {

constexpr int kMessageBytes = 215;

// A splitter bar of its own thickness: the design's bars are 9, 5 and 10 pixels.
class SizedHandle : public QSplitterHandle {
 public:
  SizedHandle(Qt::Orientation orientation, QSplitter* parent) : QSplitterHandle(orientation, parent) {}
  int thickness = 5;
  QSize sizeHint() const override { return {thickness, thickness}; }
};

QFrame* MakePanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setMinimumSize(0, 0);
  return panel;
}

// Three raised panels in a row or a column, a bar of its own thickness between each two; a
// resize goes to the last panel, the others keep their size.
class PanelSplitter : public QSplitter {
 public:
  PanelSplitter(Qt::Orientation orientation, QWidget* parent, int firstBar, int secondBar)
      : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
    setOpaqueResize(true);
    for (int i = 0; i < 3; ++i) addWidget(MakePanel(this));
    SetThickness(1, firstBar);
    SetThickness(2, secondBar);
    setStretchFactor(0, 0);
    setStretchFactor(1, 0);
    setStretchFactor(2, 1);
  }
  QFrame* Panel(int index) const { return static_cast<QFrame*>(widget(index)); }
  QSplitterHandle* Bar(int index) const { return handle(index); }

 protected:
  QSplitterHandle* createHandle() override { return new SizedHandle(orientation(), this); }

 private:
  void SetThickness(int index, int px) {
    auto* h = static_cast<SizedHandle*>(handle(index));
    h->thickness = px;
    h->updateGeometry();
  }
};

// A player's panel: the face at the top with the side's stone and count before it, the name
// along the bottom, and a line under the face for 「考え中…」.
struct PlayerPanel {
  TImage* face;
  QLabel* name;
  TPlayerScore* score;
  QLabel* state;
};

PlayerPanel MakePlayer(QFrame* panel, int side, const QString& faceHint, const QString& nameHint) {
  PlayerPanel p{new TImage(panel), new QLabel(panel), new TPlayerScore(side, panel), new QLabel(panel)};
  p.face->setGeometry(56, 8, 32, 32);
  p.face->Transparent = true;
  p.face->setToolTip(faceHint);
  p.name->setAlignment(Qt::AlignCenter);
  p.name->setToolTip(nameHint);
  p.state->setAlignment(Qt::AlignCenter);
  p.state->setFont(platform::DesignFont(platform::kGothic, 11));
  p.state->setText(QStringLiteral("考え中…"));
  p.state->hide();
  p.score->hide();
  return p;
}

// The face centred across the panel with the count at its left, the name docked at the bottom,
// the state between them.
void LayOutPlayer(const QFrame* panel, const PlayerPanel& p) {
  p.face->move(CentredLeft(panel->width(), p.face->width()), p.face->y());
  const QSize score = p.score->sizeHint();
  p.score->setGeometry(4, p.face->y() + (p.face->height() - score.height()) / 2, score.width(), score.height());
  const int row = panel->height() - 20;
  p.name->setGeometry(0, row, panel->width(), 18);
  const int below = p.face->y() + p.face->height() + 1;
  p.state->setGeometry(0, below, panel->width(), std::max(0, row - below));
}

constexpr int kHandles = 9 + 9;       // Splitter1 and Splitter4
constexpr int kColumnHandles = 5 + 10;  // Splitter2 and Splitter3

}  // namespace

TfrmGamen::TfrmGamen(::SaveRecord& record, Session& session) : SaveRecord(record), session_(session) {
  BuildControls();
  FormCreate();
}

TfrmGamen::~TfrmGamen() {
  // The referee and the hint hold the board, which goes with its panel among the children.
  delete Flow;
  delete hint_;
  logger_.reset();
  session_.game.RemoveListener(this);
  if (frmGamen == this) frmGamen = nullptr;
}



void TfrmGamen::BuildControls() {
  setWindowTitle(QStringLiteral("Velmora"));
  setFont(platform::DesignFont(platform::kSystemFont, 13));
  setGeometry(282, 128, 502, 371);

  auto* columns = new PanelSplitter(Qt::Horizontal, this, 9, 9);
  columns_ = columns;
  Panel1 = columns->Panel(0);
  Panel2 = columns->Panel(1);
  Panel6 = columns->Panel(2);
  Splitter1 = columns->Bar(1);
  Splitter4 = columns->Bar(2);

  auto* playerColumn = new PanelSplitter(Qt::Vertical, Panel2, 5, 10);
  playerColumn_ = playerColumn;
  Panel3 = playerColumn->Panel(0);
  Panel4 = playerColumn->Panel(1);
  Panel5 = playerColumn->Panel(2);
  Splitter2 = playerColumn->Bar(1);
  Splitter3 = playerColumn->Bar(2);

  const PlayerPanel kuro = MakePlayer(Panel3, 1, QStringLiteral("先行のキャラクターです"), QStringLiteral("先行の名前です"));
  const PlayerPanel shiro = MakePlayer(Panel4, 2, QStringLiteral("後攻のキャラクターです"), QStringLiteral("後攻の名前です"));
  imKuroFace = kuro.face;
  lbKuroName = kuro.name;
  scKuro = kuro.score;
  lbKuroState = kuro.state;
  imShiroKoma = shiro.face;
  lbShiroKoma = shiro.name;
  scShiro = shiro.score;
  lbShiroState = shiro.state;

  edMessage = new QLineEdit(Panel5);
  edMessage->setGeometry(16, 8, 113, 19);
  edMessage->setFont(platform::DesignFont(platform::kGothic, 11));
  edMessage->setToolTip(QStringLiteral("ここにメッセージを書いてReturnキーを押すとメッセージが送信されます"));
  reMessage = new QPlainTextEdit(Panel5);
  reMessage->setGeometry(16, 40, 113, 57);
  reMessage->setReadOnly(true);
  reMessage->setLineWrapMode(QPlainTextEdit::NoWrap);
  reMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reMessage->setFont(platform::DesignFont(platform::kGothic, 11));
  reMessage->setToolTip(QStringLiteral("送受信したメッセージが表示されます"));
  chatHistory_ = new ChatHistory(reMessage);
  mmDllPath = new QPlainTextEdit(Panel5);
  mmDllPath->setLineWrapMode(QPlainTextEdit::NoWrap);
  mmDllPath->hide();
  btRestart = MakeButton(QStringLiteral("再ゲーム"), QStringLiteral("前画面に戻ります。　ただし最後までやらないと選べません"),
                         Panel5, QRect(21, 158, 121, 25));

  Panel7 = MakePanel(Panel6);
  auto* caption = new QLabel(QStringLiteral("接続者リスト"), Panel7);
  caption->setObjectName(QStringLiteral("Panel7Caption"));
  caption->setAlignment(Qt::AlignCenter);
  caption->setFont(platform::DesignFont(platform::kGothic, 13));
  lbPeaple = new QListWidget(Panel6);
  lbPeaple->setStyleSheet(QStringLiteral("QListWidget::item { height: 18px; }"));
  lbPeaple->setToolTip(
      QStringLiteral("接続しているユーザー名が表示されます。　ユーザーを選ぶと個別送信が出来ます。"));
  lbPeaple->addItem(QStringLiteral("All"));

  for (QWidget* panel : {Panel1, Panel2, Panel3, Panel4, Panel5, Panel6}) panel->installEventFilter(this);
  edMessage->installEventFilter(this);

  connect(columns_, &QSplitter::splitterMoved, this, [this](int, int index) {
    if (index == 1) Splitter1Moved();
  });
  LimitToCp932Bytes(edMessage, kMessageBytes);
  connect(lbPeaple, &QListWidget::itemDoubleClicked, this, &TfrmGamen::lbPeapleDblClick);
  connect(btRestart, &QPushButton::clicked, this, &TfrmGamen::mnuRestartClick);
  BuildMenus();
  keyPreview_ = new KeyPreview(this, [this](int key) { FormKeyDown(key); });
}

void TfrmGamen::FormCreate() {
  RegisterStoneCursors();
  Game& game = session_.game;
  Reversi = new TIReversi(game, Panel1);
  Reversi->setGeometry(Panel1->contentsRect());
  keyPreview_->Watch(Reversi);
  Flow = new TurnFlow(game, *Reversi, session_.services, this);
  hint_ = new MoveHint(game, *Reversi, session_.services, this);
  // Engines run in the runner beside the program, and go by the names on their player panels.
  const std::string runner = EngineRunnerIn(session_.exePath.toStdString());
  Flow->SetEngineRunner(runner);
  Flow->EngineName = [this](int side) { return side == 1 ? lbKuroName->text() : lbShiroKoma->text(); };
  hint_->SetEngineRunner(runner);
  game.AddListener(this);
  if (!session_.dataFolder.isEmpty()) KeepGames();
  connect(Flow, &TurnFlow::ThinkingChanged, this, &TfrmGamen::GameChanged);
  connect(hint_, &MoveHint::AskingChanged, this, &TfrmGamen::UpdateMenus);
  connect(Reversi, &TIReversi::InputOpenChanged, this, &TfrmGamen::UpdateMenus);
  ApplyLook();
}

Game& TfrmGamen::Played() { return session_.game; }

void TfrmGamen::KeepGames() {
  gameLog_ = std::make_unique<gamelog::GameLog>(gamelog::GameLog::FolderIn(session_.dataFolder));
  logger_ = std::make_unique<GameLogger>(session_.game, *gameLog_, [this](int side) {
    return gamelog::Player{side == 1 ? lbKuroName->text() : lbShiroKoma->text(),
                           static_cast<PlayerKind>(session_.game.Who(side))};
  });
  logger_->OnSaved = [this] {
    if (kifu_ && kifu_->isVisible()) kifu_->Reload();
  };
  // Told later: the game is in the middle of telling its change.
  logger_->OnError = [this](const QString& error) {
    QTimer::singleShot(0, this, [this, error] { session_.services.dialogs.ShowMessage(error, QStringLiteral("Velmora")); });
  };
}

bool TfrmGamen::SetsUpGames() const {
  return !session_.game.NetPlay() || (Room && Room->Socket().IsHosting());
}

void TfrmGamen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous() || closed_) return;
  FormShow();
  // The rest runs once the window is on screen, as the match menu opens over it.
  QTimer::singleShot(0, this, &TfrmGamen::FormShowStarted);
}

void TfrmGamen::setVisible(bool visible) {
  if (visible && !isVisible() && !closed_) RestoreGeometry();
  QWidget::setVisible(visible);
}

void TfrmGamen::RestoreGeometry() {
  if (SaveRecord.GamenWidth != 0) {
    setGeometry(SaveRecord.GamenLeft, SaveRecord.GamenTop, SaveRecord.GamenWidth, SaveRecord.GamenHeight);
    keepSavedPanels_ = true;
    columns_->setGeometry(0, MenuHeight(), width(), std::max(0, height() - MenuHeight()));
    SetColumnWidths(SaveRecord.BoardWidth, -1, SaveRecord.PeapleWidth);
  } else {
    const ColumnWidths w = GamenColumnWidths(width());
    SetColumnWidths(w.board, w.players, -1);
  }
}

void TfrmGamen::FormShow() {
  session_.game.SetCounters(GameCounters{&SaveRecord.SouNum, &SaveRecord.SouWin, &SaveRecord.SouLose,
                                         &SaveRecord.NetNum, &SaveRecord.NetWin, &SaveRecord.NetLose});
  ArrangeColumns();
  Reversi->BanDraw();
  session_.game.NewGame();
  Reversi->KomaDrawAll();
  UpdateMenus();
}

void TfrmGamen::FormShowStarted() {
  if (closed_) return;
  if (session_.game.NetPlay() && Room) {
    // The pauses before the first two records wait in the connection's queue, not here.
    TNetRecord state;
    state.SetKind(mkGameState);
    Room->Socket().PauseSending(100);
    Room->Socket().SendRecord(state);
    TNetRecord users;
    users.SetKind(mkUserList);
    Room->Socket().PauseSending(100);
    Room->Socket().SendRecord(users);
    lbPeaple->setCurrentRow(0);
    if (frmMenuWk) frmMenuWk->setWindowTitle(QStringLiteral("対戦メニュー") + Room->Socket().AddressText());
  }
  if (SetsUpGames()) {
    RunMatchMenu();
    if (!closed_) Flow->GameShori();
  } else {
    session_.game.SetWho(static_cast<int>(PlayerKind::Net), static_cast<int>(PlayerKind::Net));
    btRestart->hide();
  }
  if (closed_) return;
  const PlayerPanelHeights h = GamenPanelHeights(height());
  const int rest = std::max(0, playerColumn_->height() - h.side1 - h.side2 - kColumnHandles);
  playerColumn_->setSizes({h.side1, h.side2, rest});
}

bool TfrmGamen::RunMatchMenu() {
  if (!frmMenuWk) return false;
  if (frmMenuWk->exec() == QDialog::Accepted) {
    ApplyMatch(frmMenuWk->Choice());
    return true;
  }
  if (frmMenu) frmMenu->close();
  return false;
}

void TfrmGamen::SetColumnWidths(int board, int players, int peaple) {
  if (!NetworkLayout()) {
    // The board takes what the players' column leaves, the user list being hidden.
    const int total = std::max(0, width() - kHandles / 2);
    if (players < 0) players = GamenColumnWidths(width()).players;
    players = std::clamp(players, 0, total);
    columns_->setSizes({total - players, players, 0});
    return;
  }
  const int total = std::max(0, width() - kHandles);
  board = std::clamp(board, 0, total);
  if (players < 0) players = std::max(0, total - board - std::max(0, peaple));
  players = std::min(players, total - board);
  columns_->setSizes({board, players, total - board - players});
}

int TfrmGamen::MenuHeight() const { return mnuMain ? mnuMain->sizeHint().height() : 0; }

void TfrmGamen::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (mnuMain) mnuMain->setGeometry(0, 0, width(), MenuHeight());
  columns_->setGeometry(0, MenuHeight(), width(), std::max(0, height() - MenuHeight()));
  FormResize();
}

void TfrmGamen::FormResize() {
  if (keepSavedPanels_ && width() == SaveRecord.GamenWidth && height() == SaveRecord.GamenHeight) {
    SetColumnWidths(SaveRecord.BoardWidth, -1, SaveRecord.PeapleWidth);
  } else {
    keepSavedPanels_ = false;
    const ColumnWidths w = GamenColumnWidths(width());
    SetColumnWidths(w.board, w.players, -1);
  }
  if (closed_) return;
  Reversi->BanDraw();
  Reversi->KomaDrawAll();
  SaveGamenPos();
}

void TfrmGamen::Splitter1Moved() {
  keepSavedPanels_ = false;
  Reversi->BanDraw();
  Reversi->KomaDrawAll();
  SaveGamenPos();
}

void TfrmGamen::SaveGamenPos() {
  const bool sizeKept = SaveRecord.GamenWidth == width() && SaveRecord.GamenHeight == height();
  SaveRecord.GamenLeft = geometry().x();
  SaveRecord.GamenWidth = width();
  SaveRecord.GamenTop = geometry().y();
  SaveRecord.GamenHeight = height();
  if (NetworkLayout()) {
    SaveRecord.BoardWidth = Panel1->width();
    SaveRecord.PeapleWidth = Panel6->width();
  } else if (!sizeKept || SaveRecord.BoardWidth == 0) {
    // velm.dat keeps the network layout's widths, which this size would have.
    const ColumnWidths w = GamenColumnWidths(width());
    SaveRecord.BoardWidth = w.board;
    SaveRecord.PeapleWidth = std::max(0, width() - kHandles - w.board - w.players);
  }
}

bool TfrmGamen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == Panel1 && Reversi) {
      Reversi->setGeometry(Panel1->contentsRect());
      if (!closed_) {
        Reversi->BanDraw();
        Reversi->KomaDrawAll();
      }
    } else if (watched == Panel2) {
      playerColumn_->setGeometry(Panel2->rect());
    } else if (watched == Panel3) {
      Panel3Resize();
    } else if (watched == Panel4) {
      Panel4Resize();
    } else if (watched == Panel5) {
      Panel5Resize();
    } else if (watched == Panel6) {
      Panel7->setGeometry(0, 0, Panel6->width(), 25);
      Panel7->findChild<QLabel*>()->setGeometry(Panel7->rect());
      lbPeaple->setGeometry(0, 25, Panel6->width(), std::max(0, Panel6->height() - 25));
    }
  } else if (event->type() == QEvent::KeyPress && watched == edMessage) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      edMessageKeyDown(key);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmGamen::Panel3Resize() { LayOutPlayer(Panel3, {imKuroFace, lbKuroName, scKuro, lbKuroState}); }

void TfrmGamen::Panel4Resize() { LayOutPlayer(Panel4, {imShiroKoma, lbShiroKoma, scShiro, lbShiroState}); }

void TfrmGamen::Panel5Resize() {
  const ChatPanelLayout l = LayOutChatPanel(Panel5->width(), Panel5->height(), reMessage->y());
  reMessage->setGeometry(l.left, reMessage->y(), l.width, std::max(0, l.messageHeight));
  edMessage->setGeometry(l.left, edMessage->y(), l.width, edMessage->height());
  btRestart->setGeometry(l.left, l.restartTop, l.width, btRestart->height());
}

void TfrmGamen::edMessageKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  TNetRecord record;
  record.SetText(edMessage->text());
  record.SetKind(lbPeaple->currentRow() == 0 ? mkChat : mkPrivate);
  if (Room) Room->Socket().SendRecord(record);
  edMessage->clear();
  edMessage->setFocus();
}

void TfrmGamen::lbPeapleDblClick() {
  const int row = lbPeaple->currentRow();
  if (lbPeaple->count() < 2 || row < 1) return;
  TNetRecord request;
  request.SetKind(mkGame);
  request.SetSub(gsStatsRequest);
  request.SetTo(static_cast<std::uint16_t>(row - 1));
  if (Room) Room->Socket().SendRecord(request);
  if (!frmData) return;
  frmData->ShowRecordOf(lbPeaple->item(row)->text(), this);
}

bool TfrmGamen::NetworkLayout() const { return session_.game.NetPlay() || session_.preferences.classicView; }

void TfrmGamen::ArrangeColumns() {
  const bool network = NetworkLayout();
  edMessage->setVisible(network);
  reMessage->setVisible(network);
  Panel6->setVisible(network);
  if (isVisible()) FormResize();
}

void TfrmGamen::FormKeyDown(int key) {
  HelpKeyDown(key, kHelpGame, session_.exePath, session_.services);
}

void TfrmGamen::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!closed_) FormCloseQuery();
}

void TfrmGamen::FormCloseQuery() {
  closed_ = true;
  const QString base = frmMenu ? frmMenu->DataPath : QString();
  // A log that cannot be written is reported, but the window still closes and the program ends.
  const QString error = platform::ReplaceFile(base + QStringLiteral("Chat.log"), chatHistory_->LogBytes());
  if (!error.isEmpty()) session_.services.dialogs.ShowMessage(error, QStringLiteral("Velmora"));
  if (session_.game.NetPlay() && Room) Room->Socket().SendLeave();
  if (Room) Room->Socket().close();
  SaveGamenPos();
  // An engine still thinking is stopped; the game, left midway, stays counted as played.
  Flow->StopEngine();
  session_.game.Stop();
  Reversi->SetInputOpen(false);
  hide();
  if (frmMenu) frmMenu->close();
}
