#include "screens/MenuWk.h"

#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextBlock>
#include <algorithm>

#include "enginehost/CpuDiscovery.h"
#include "enginehost/EngineSearch.h"
#include "net/NetRecord.h"
#include "net/RoomRules.h"
#include "net/Socket.h"
#include "platform/DesignFonts.h"
#include "platform/Dialogs.h"
#include "platform/ScreenCentre.h"
#include "screens/ChildWin.h"
#include "screens/Controls.h"
#include "screens/Data.h"
#include "screens/Help.h"
#include "screens/Image.h"
#include "screens/KeyPreview.h"
#include "screens/Menu.h"
#include "screens/Session.h"

TfrmMenuWk* frmMenuWk = nullptr;

namespace {
const QString kLocal = QStringLiteral("local");
const QString kCpu = QStringLiteral("Cpu");
const QString kNet = QStringLiteral("Net");

QListWidget* MakeList(QWidget* parent, const QRect& rect) {
  auto* list = new QListWidget(parent);
  list->setGeometry(rect);
  list->hide();
  return list;
}
}  // namespace

TfrmMenuWk::TfrmMenuWk(Session& session) : session_(session) { BuildControls(); }

TfrmMenuWk::~TfrmMenuWk() {
  // At the program's end: the runner of a search still going is killed; nobody waits for the
  // search's thread, which is joined once it has ended.
  search_.reset();
  if (frmMenuWk == this) frmMenuWk = nullptr;
}

void TfrmMenuWk::BuildControls() {
  setWindowTitle(QStringLiteral("対戦メニュー"));
  setFont(platform::DesignFont(platform::kPGothic, 12));
  setFixedSize(315, 267);
  setModal(true);

  lblPlay1 = MakeLabel(QString(), this, QRect(8, 12, 132, 20), Qt::AlignHCenter);
  Label1 = MakeLabel(QStringLiteral("vs"), this, QRect(144, 12, 27, 20), Qt::AlignHCenter);
  lblPlay2 = MakeLabel(QString(), this, QRect(175, 12, 132, 20), Qt::AlignHCenter);

  cbPlay1 = new QComboBox(this);
  cbPlay1->setGeometry(16, 42, 121, 22);
  cbPlay1->setToolTip(QStringLiteral("先行の対戦相手を選びます"));
  cbPlay2 = new QComboBox(this);
  cbPlay2->setGeometry(178, 42, 121, 22);
  cbPlay2->setToolTip(QStringLiteral("後攻の対戦相手を選びます"));

  // The engine list and the user list of a side share one place under its drop-down list.
  lbCpu1 = MakeList(this, QRect(16, 72, 121, 140));
  lbPlayer1 = MakeList(this, QRect(16, 72, 121, 140));
  lbCpu2 = MakeList(this, QRect(178, 72, 121, 140));
  lbPlayer2 = MakeList(this, QRect(178, 72, 121, 140));

  btOk = MakeButton(QStringLiteral("スタート"), QStringLiteral("ゲームをスタートします"), this, QRect(40, 228, 97, 25));
  btCancel = MakeButton(QStringLiteral("終了"), QStringLiteral("ゲームを終了します"), this, QRect(178, 228, 97, 25));

  ChainTabOrder({cbPlay1, cbPlay2, btOk, btCancel, lbCpu1, lbCpu2, lbPlayer1, lbPlayer2});

  connect(cbPlay1, &QComboBox::activated, this, &TfrmMenuWk::cbPlay1Click);
  connect(cbPlay2, &QComboBox::activated, this, &TfrmMenuWk::cbPlay2Click);
  connect(lbCpu1, &QListWidget::itemClicked, this, &TfrmMenuWk::lbCpu1Click);
  connect(lbCpu2, &QListWidget::itemClicked, this, &TfrmMenuWk::lbCpu2Click);
  connect(lbPlayer1, &QListWidget::itemClicked, this, &TfrmMenuWk::lbPlayer1Click);
  connect(lbPlayer2, &QListWidget::itemClicked, this, &TfrmMenuWk::lbPlayer2Click);
  connect(lbPlayer1, &QListWidget::itemDoubleClicked, this, &TfrmMenuWk::lbPlayer1DblClick);
  connect(lbPlayer2, &QListWidget::itemDoubleClicked, this, &TfrmMenuWk::lbPlayer2DblClick);
  connect(btOk, &QPushButton::clicked, this, &TfrmMenuWk::btOkClick);
  connect(btCancel, &QPushButton::clicked, this, &TfrmMenuWk::btCancelClick);
  keyPreview_ = new KeyPreview(this, [this](int key) { FormKeyDown(key); });
}

TfrmMenuWk::Side TfrmMenuWk::SideOf(int side) const {
  if (side == 1) return {cbPlay1, lbCpu1, lbPlayer1, lblPlay1};
  return {cbPlay2, lbCpu2, lbPlayer2, lblPlay2};
}

void TfrmMenuWk::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
  // Centred on the screen at every showing.
  if (!event->spontaneous()) platform::CentreOnScreen(this);
}

void TfrmMenuWk::hideEvent(QHideEvent* event) {
  // A search still running when the menu closes is of no use to anyone.
  if (!event->spontaneous()) StopSearch();
  QDialog::hideEvent(event);
}

void TfrmMenuWk::FormShow() {
  SearchCpuDll();
  const bool network = session_.game.NetPlay();
  for (QComboBox* box : {cbPlay1, cbPlay2}) {
    box->clear();
    box->addItem(kLocal);  // "Cpu" joins once the search has found an engine (CpuDllFound)
    if (network) box->addItem(kNet);
    box->setCurrentIndex(0);
  }
  for (QListWidget* list : {lbCpu1, lbCpu2, lbPlayer1, lbPlayer2}) list->hide();
  const QString user = frmMenu ? frmMenu->UserName : QString();
  lblPlay1->setText(user);
  lblPlay2->setText(user);
  OfferLastChoices();
  UpdateStart();
}

bool TfrmMenuWk::ChooseKind(int side, const QString& kind) {
  QComboBox* box = SideOf(side).kind;
  const int index = box->findText(kind);
  if (index < 0) return false;
  box->setCurrentIndex(index);
  PlayClick(side);
  return true;
}

void TfrmMenuWk::OfferLastChoices() {
  const settings::Preferences& last = session_.preferences;
  for (int side : {1, 2}) {
    const QString& kind = side == 1 ? last.side1Kind : last.side2Kind;
    // An engine is offered once the search has found it.
    lastEngineOffered_[side - 1] = kind != kCpu;
    if (kind == kNet) ChooseKind(side, kNet);
  }
}

void TfrmMenuWk::RememberChoices() {
  settings::Preferences& last = session_.preferences;
  last.side1Kind = cbPlay1->currentText();
  last.side2Kind = cbPlay2->currentText();
  last.side1Engine = QString::fromStdString(choice_.sides[0].libraryPath);
  last.side2Engine = QString::fromStdString(choice_.sides[1].libraryPath);
  session_.SavePreferences();
}

void TfrmMenuWk::UpdateStart() { btOk->setEnabled(NetSidesChosen()); }

void TfrmMenuWk::SearchCpuDll() {
  StopSearch();
  ExePath = frmMenu ? frmMenu->ExePath : session_.exePath;
  lbCpu1->clear();
  lbCpu2->clear();
  engines_.clear();
  searching_ = true;
  // Each engine answers in a process of its own, within its time limit: the menu is usable
  // meanwhile, and "Cpu" is offered once an engine has been found.
  // The program's own engines, then the user's.
  std::vector<std::string> userFolders;
  if (frmMenu)
    for (const QString& folder : frmMenu->SearchFolders())
      if (folder != ExePath) userFolders.push_back(folder.toStdString());
  search_ = std::make_unique<EngineSearch>(ExePath.toStdString(), std::move(userFolders),
                                           session_.services.engineLimits.status,
                                           [this](const EngineSearchResult& found) { CpuDllFound(found); });
}

void TfrmMenuWk::StopSearch() {
  search_.reset();
  searching_ = false;
}

void TfrmMenuWk::CpuDllFound(const EngineSearchResult& found) {
  engines_ = found.engines;
  search_.reset();  // found lives on the search's thread, which goes on only once this returns
  for (const FoundEngine& engine : engines_) {
    lbCpu1->addItem(engine.name);
    lbCpu2->addItem(engine.name);
  }
  if (!engines_.empty()) {
    lbCpu1->setCurrentRow(0);
    lbCpu2->setCurrentRow(0);
    // "Cpu" comes after "local" and before "Net".
    for (QComboBox* box : {cbPlay1, cbPlay2})
      if (box->findText(kCpu) < 0) box->insertItem(1, kCpu);
    // The engine chosen last time, unless the user has chosen meanwhile.
    for (int side : {1, 2}) {
      if (lastEngineOffered_[side - 1]) continue;
      lastEngineOffered_[side - 1] = true;
      const std::string last = (side == 1 ? session_.preferences.side1Engine : session_.preferences.side2Engine).toStdString();
      const auto found = std::find_if(engines_.begin(), engines_.end(), [&](const FoundEngine& e) { return e.libraryPath == last; });
      if (found != engines_.end()) SideOf(side).cpu->setCurrentRow(static_cast<int>(found - engines_.begin()));
      ChooseKind(side, kCpu);
    }
    UpdateStart();
  }
  // One box per folder that holds no working engine; the others are listed all the same.
  for (std::size_t i = 0; i < found.failedPaths.size(); ++i)
    session_.services.dialogs.ShowMessage(QStringLiteral("読み込めません"), QStringLiteral("DLLの読み込み"));
  searching_ = false;
}

void TfrmMenuWk::cbPlay1Click() {
  lastEngineOffered_[0] = true;  // the user's own choice wins over the last game's
  PlayClick(1);
}
void TfrmMenuWk::cbPlay2Click() {
  lastEngineOffered_[1] = true;
  PlayClick(2);
}

void TfrmMenuWk::PlayClick(int side) {
  const Side s = SideOf(side);
  const QString kind = s.kind->currentText();
  if (kind == kLocal) {
    s.players->hide();
    s.cpu->hide();
    s.name->setText(frmMenu ? frmMenu->UserName : QString());
  } else if (kind == kCpu) {
    s.cpu->show();
    s.players->hide();
    s.name->setText(s.cpu->currentItem() ? s.cpu->currentItem()->text() : QString());
  } else if (kind == kNet) {
    s.cpu->hide();
    s.players->clear();
    if (frmGamen) {
      for (int i = 1; i < frmGamen->lbPeaple->count(); ++i) s.players->addItem(frmGamen->lbPeaple->item(i)->text());
    }
    if (s.players->count() > 0) s.players->setCurrentRow(0);
    s.players->show();
    s.name->setText(s.players->currentItem() ? s.players->currentItem()->text() : QString());
  }
  UpdateStart();
}

void TfrmMenuWk::ListClick(QListWidget* list, QLabel* name) {
  if (list->currentItem()) name->setText(list->currentItem()->text());
}
void TfrmMenuWk::lbCpu1Click() { ListClick(lbCpu1, lblPlay1); }
void TfrmMenuWk::lbCpu2Click() { ListClick(lbCpu2, lblPlay2); }
void TfrmMenuWk::lbPlayer1Click() { ListClick(lbPlayer1, lblPlay1); }
void TfrmMenuWk::lbPlayer2Click() { ListClick(lbPlayer2, lblPlay2); }

void TfrmMenuWk::lbPlayer1DblClick() { PlayerDblClick(1); }
void TfrmMenuWk::lbPlayer2DblClick() { PlayerDblClick(2); }

void TfrmMenuWk::PlayerDblClick(int side) {
  const Side s = SideOf(side);
  const int row = s.players->currentRow();
  if (row < 0) return;
  TNetRecord request;
  request.SetKind(mkGame);
  request.SetSub(gsStatsRequest);
  request.SetTo(static_cast<std::uint16_t>(row));
  if (frmSocket) frmSocket->SendRecord(request);
  if (!frmData) return;
  frmData->ShowRecordOf(s.name->text(), this);
}

int TfrmMenuWk::KindOf(int side) const {
  const QString kind = SideOf(side).kind->currentText();
  if (kind == kCpu) return static_cast<int>(PlayerKind::Cpu);
  if (kind == kNet) return static_cast<int>(PlayerKind::Net);
  return static_cast<int>(PlayerKind::Local);
}

bool TfrmMenuWk::NetSidesChosen() const {
  for (int side : {1, 2}) {
    if (KindOf(side) == static_cast<int>(PlayerKind::Net) && SideOf(side).players->currentRow() < 0) return false;
  }
  return true;
}

void TfrmMenuWk::btOkClick() {
  if (!NetSidesChosen()) return;  // "スタート" is disabled then; nothing to start
  choice_ = MatchChoice{};
  choice_.engines = engines_;
  for (int side : {1, 2}) {
    const Side s = SideOf(side);
    MatchSide& chosen = choice_.sides[side - 1];
    chosen.kind = static_cast<PlayerKind>(KindOf(side));
    chosen.name = s.name->text();
    const int engine = s.cpu->currentRow();
    if (chosen.kind == PlayerKind::Cpu && engine >= 0 && engine < static_cast<int>(engines_.size()))
      chosen.libraryPath = engines_[static_cast<std::size_t>(engine)].libraryPath;
    if (chosen.kind == PlayerKind::Net) chosen.userRow = s.players->currentRow();
  }
  RememberChoices();
  accept();
}

void TfrmMenuWk::btCancelClick() { reject(); }

void TfrmMenuWk::FormKeyDown(int key) {
  HelpKeyDown(key, kHelpMenu, frmMenu ? frmMenu->ExePath : session_.exePath, session_.services);
}
