#include <QLabel>
#include <QPushButton>

#include "screens/Data.h"
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
