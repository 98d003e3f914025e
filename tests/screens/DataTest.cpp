#include <QLabel>
#include <QPushButton>

#include "screens/Data.h"
#include "screens/StatisticsTexts.h"
#include "tests/screens/ProgramFixture.h"

class DataTest : public ProgramFixture {};

TEST_F(DataTest, FillsTheEightValuesAndKeepsThemForTheNextName) {
  Start();
  EXPECT_EQ(frmData->windowTitle(), "対戦データ");
  EXPECT_EQ(frmData->size(), QSize(256, 183));
  EXPECT_EQ(frmData->lbSouRitsu->text(), "---");
  EXPECT_EQ(frmData->lbNum->text(), "0");

  frmData->lbName->setText(QStringLiteral("花子"));
  frmData->show();
  frmData->Fill({3, 2, 1, 0, 0, 0});
  EXPECT_EQ(frmData->lbSouNum->text(), "3");
  EXPECT_EQ(frmData->lbSouWin->text(), "2");
  EXPECT_EQ(frmData->lbSouLose->text(), "1");
  EXPECT_EQ(frmData->lbSouRitsu->text(), "0.667");
  EXPECT_EQ(frmData->lbNum->text(), "0");
  EXPECT_EQ(frmData->lbWin->text(), "0");
  EXPECT_EQ(frmData->lbLose->text(), "0");
  EXPECT_EQ(frmData->lbRitsu->text(), "---");

  // Opened for someone else: the new name at once, the old numbers until the reply.
  frmData->lbName->setText(QStringLiteral("次郎"));
  EXPECT_EQ(frmData->lbSouRitsu->text(), "0.667");
  frmData->Fill({6, 3, 3, 2, 2, 0});
  EXPECT_EQ(frmData->lbSouRitsu->text(), "0.500");
  EXPECT_EQ(frmData->lbRitsu->text(), "1.000");

  frmData->btClose->click();
  EXPECT_FALSE(frmData->isVisible());
}

TEST(Statistics, ShareIsWinsOverGamesWithThreeDecimals) {
  EXPECT_EQ(ShareText(0, 0), "---");
  EXPECT_EQ(ShareText(2, 3), "0.667");
  EXPECT_EQ(ShareText(2, 2), "1.000");
  EXPECT_EQ(ShareText(0, 5), "0.000");
  EXPECT_EQ(ShareText(3, 6), "0.500");
}

TEST(Statistics, FillsEachRecordFromItsOwnCounters) {
  const StatisticsTexts t = FillStatistics({3, 2, 1, 0, 0, 0});
  EXPECT_EQ(t.SouNum, "3");
  EXPECT_EQ(t.SouWin, "2");
  EXPECT_EQ(t.SouLose, "1");
  EXPECT_EQ(t.SouRitsu, "0.667");
  EXPECT_EQ(t.Num, "0");
  EXPECT_EQ(t.Ritsu, "---");

  const StatisticsTexts n = FillStatistics({10, 1, 9, 4, 1, 2});
  EXPECT_EQ(n.SouRitsu, "0.100");
  EXPECT_EQ(n.Num, "4");
  EXPECT_EQ(n.Win, "1");
  EXPECT_EQ(n.Lose, "2");
  EXPECT_EQ(n.Ritsu, "0.250");  // a drawn network game lowers the share
}
