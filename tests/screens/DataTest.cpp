#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "screens/Data.h"
#include "screens/StatisticsTexts.h"

// The window alone: nothing else of the program is needed to fill it.
TEST(DataWindow, FillsTheEightValuesAndKeepsThemForTheNextName) {
  TfrmData window;
  EXPECT_EQ(window.windowTitle(), "対戦データ");
  EXPECT_EQ(window.size(), QSize(256, 183));
  EXPECT_EQ(window.lbSouRitsu->text(), "---");
  EXPECT_EQ(window.lbNum->text(), "0");

  window.lbName->setText(QStringLiteral("花子"));
  window.show();
  window.Fill({3, 2, 1, 0, 0, 0});
  EXPECT_EQ(window.lbSouNum->text(), "3");
  EXPECT_EQ(window.lbSouWin->text(), "2");
  EXPECT_EQ(window.lbSouLose->text(), "1");
  EXPECT_EQ(window.lbSouRitsu->text(), "0.667");
  EXPECT_EQ(window.lbNum->text(), "0");
  EXPECT_EQ(window.lbWin->text(), "0");
  EXPECT_EQ(window.lbLose->text(), "0");
  EXPECT_EQ(window.lbRitsu->text(), "---");

  // Opened for someone else: the new name at once, the old numbers until the reply.
  window.lbName->setText(QStringLiteral("次郎"));
  EXPECT_EQ(window.lbSouRitsu->text(), "0.667");
  window.Fill({6, 3, 3, 2, 2, 0});
  EXPECT_EQ(window.lbSouRitsu->text(), "0.500");
  EXPECT_EQ(window.lbRitsu->text(), "1.000");

  window.btClose->click();
  EXPECT_FALSE(window.isVisible());
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
