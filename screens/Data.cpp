#include "screens/Data.h"

#include <QLabel>
#include <QPushButton>

#include "platform/DesignFonts.h"
#include "platform/ScreenCentre.h"
#include "screens/Controls.h"
#include "screens/StatisticsTexts.h"

TfrmData* frmData = nullptr;

namespace {

// One record row: four numbers, each right-aligned and followed by its unit.
void MakeRow(QWidget* parent, int top, QLabel*& games, QLabel*& gamesUnit, QLabel*& wins, QLabel*& winsUnit,
             QLabel*& losses, QLabel*& lossesUnit, QLabel*& share) {
  const QString units[] = {QStringLiteral("戦"), QStringLiteral("勝"), QStringLiteral("敗")};
  QLabel** numbers[] = {&games, &wins, &losses};
  QLabel** unitLabels[] = {&gamesUnit, &winsUnit, &lossesUnit};
  for (int i = 0; i < 3; ++i) {
    const int left = 8 + i * 58;
    *numbers[i] = MakeLabel(QStringLiteral("0"), parent, QRect(left, top, 38, 18), Qt::AlignRight);
    *unitLabels[i] = MakeLabel(units[i], parent, QRect(left + 40, top, 16, 18), Qt::AlignLeft);
  }
  share = MakeLabel(QStringLiteral("---"), parent, QRect(182, top, 60, 18), Qt::AlignRight);
}

}  // namespace

TfrmData::TfrmData() {
  setWindowTitle(QStringLiteral("対戦データ"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(platform::DesignFont(platform::kPGothic, 12));
  setFixedSize(256, 183);

  lbName = MakeLabel(QStringLiteral("lbName"), this, QRect(0, 6, 256, 34), Qt::AlignHCenter);
  lbName->setWordWrap(true);
  Label1 = MakeLabel(QStringLiteral("総対戦成績"), this, QRect(16, 42, 120, 18), Qt::AlignLeft);
  MakeRow(this, 62, lbSouNum, Label2, lbSouWin, Label6, lbSouLose, Label9, lbSouRitsu);
  Label4 = MakeLabel(QStringLiteral("Net対戦成績"), this, QRect(16, 88, 120, 18), Qt::AlignLeft);
  MakeRow(this, 108, lbNum, Label3, lbWin, Label5, lbLose, Label7, lbRitsu);

  btClose = new QPushButton(QStringLiteral("閉じる"), this);
  btClose->setGeometry(88, 146, 80, 25);
  connect(btClose, &QPushButton::clicked, this, &TfrmData::btCloseClick);

  platform::CentreOnScreen(this);
}

void TfrmData::ShowRecordOf(const QString& name, QWidget* opener) {
  lbName->setText(name);
  ShowOver(opener);
}

void TfrmData::ShowOver(QWidget* opener) {
  // A modal window blocks every window but its own children, so the opener's window becomes
  // this window's parent; as a child window it also stays above it.
  QWidget* owner = opener ? opener->window() : nullptr;
  if (parentWidget() != owner) {
    setParent(owner, windowFlags());
    platform::CentreOnScreen(this);
  }
  show();
  raise();
  activateWindow();
}

TfrmData::~TfrmData() {
  if (frmData == this) frmData = nullptr;
}

void TfrmData::Fill(const std::array<std::int32_t, 6>& counters) {
  const StatisticsTexts t = FillStatistics(counters);
  lbSouNum->setText(t.SouNum);
  lbSouWin->setText(t.SouWin);
  lbSouLose->setText(t.SouLose);
  lbSouRitsu->setText(t.SouRitsu);
  lbNum->setText(t.Num);
  lbWin->setText(t.Win);
  lbLose->setText(t.Lose);
  lbRitsu->setText(t.Ritsu);
}

void TfrmData::btCloseClick() { hide(); }
