#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWindow>

#include "board/IReversi.h"
#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/Image.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Wait.h"

namespace {
using Box = MessageRecorder::Box;

QStringList Entries(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

void Choose(QComboBox* box, const QString& entry, void (TfrmMenuWk::*click)()) {
  box->setCurrentIndex(box->findText(entry));
  (frmMenuWk->*click)();
}
}  // namespace

class MenuWkTest : public ProgramFixture {
 protected:
  // Dialog OK without network; the match menu is then driven by `inMenu` while it is open.
  void OpenMenu(std::function<void()> inMenu) {
    AddPictures({"face.bmp"});
    Start();
    frmMenu->rgNet->Button(1)->click();
    frmMenu->edUserName->setText("taro");
    menuDone_ = false;
    WhenShown(frmMenuWk, [this, inMenu] {
      ASSERT_TRUE(EnginesListed());
      inMenu();
      if (frmMenuWk->isVisible()) frmMenuWk->btCancel->click();  // never leave a modal loop open
      menuDone_ = true;
    });
    frmMenu->btOk->click();
    ASSERT_TRUE(WaitUntil([this] { return menuDone_ && !frmMenuWk->isVisible(); }));
    QCoreApplication::processEvents();
  }
  bool menuDone_ = false;
};

TEST_F(MenuWkTest, WithoutEnginesOrNetworkOnlyLocalIsOffered) {
  QStringList one, two;
  bool listsHidden = false;
  QString name1, name2;
  OpenMenu([&] {
    one = Entries(frmMenuWk->cbPlay1);
    two = Entries(frmMenuWk->cbPlay2);
    listsHidden = !frmMenuWk->lbCpu1->isVisible() && !frmMenuWk->lbPlayer2->isVisible();
    name1 = frmMenuWk->lblPlay1->text();
    name2 = frmMenuWk->lblPlay2->text();
    frmMenuWk->btOk->click();
  });
  EXPECT_EQ(frmMenuWk->windowTitle(), "対戦メニュー");
  EXPECT_EQ(one, QStringList{"local"});
  EXPECT_EQ(two, QStringList{"local"});
  EXPECT_TRUE(listsHidden);
  EXPECT_EQ(name1, "taro");
  EXPECT_EQ(name2, "taro");
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(TheGame().Who(1), 1);
  EXPECT_EQ(TheGame().Who(2), 1);
  EXPECT_EQ(frmGamen->mmDllPath->toPlainText(), "");
}

TEST_F(MenuWkTest, CpuIsOfferedWhenAnEngineIsInstalled) {
  AddEngines();
  QStringList entries;
  bool listShown = false, listHiddenAgain = false;
  QString engineName, backToUser;
  OpenMenu([&] {
    entries = Entries(frmMenuWk->cbPlay1);
    Choose(frmMenuWk->cbPlay2, "Cpu", &TfrmMenuWk::cbPlay2Click);
    listShown = frmMenuWk->lbCpu2->isVisible();
    engineName = frmMenuWk->lblPlay2->text();
    Choose(frmMenuWk->cbPlay2, "local", &TfrmMenuWk::cbPlay2Click);
    listHiddenAgain = !frmMenuWk->lbCpu2->isVisible();
    backToUser = frmMenuWk->lblPlay2->text();
    Choose(frmMenuWk->cbPlay2, "Cpu", &TfrmMenuWk::cbPlay2Click);
    frmMenuWk->btOk->click();
  });
  EXPECT_EQ(entries, QStringList({"local", "Cpu"}));
  EXPECT_TRUE(listShown);
  EXPECT_EQ(engineName, "ルリカ");
  EXPECT_TRUE(listHiddenAgain);
  EXPECT_EQ(backToUser, "taro");

  EXPECT_EQ(TheGame().Who(1), 1);
  EXPECT_EQ(TheGame().Who(2), 2);
  const QString path = frmGamen->mmDllPath->toPlainText().split('\n').value(0);
  EXPECT_TRUE(path.startsWith(exePath + "DllCpu/")) << path.toStdString();
  EXPECT_EQ(QString::fromLocal8Bit(frmGamen->Flow->CpuPath(1)), path);
  EXPECT_EQ(frmGamen->Flow->CpuPath(0)[0], '\0');
  EXPECT_EQ(frmGamen->lbShiroKoma->text(), "ルリカ");
  EXPECT_EQ(frmGamen->lbKuroName->text(), "taro");
  EXPECT_FALSE(frmGamen->imShiroKoma->Picture().isNull()) << "the engine's own picture";
  EXPECT_NE(frmGamen->imShiroKoma->Picture(), frmMenu->imChara->Picture());
}

TEST_F(MenuWkTest, EngineAgainstEngineRunsToTheResult) {
  AddEngines();
  OpenMenu([&] {
    Choose(frmMenuWk->cbPlay1, "Cpu", &TfrmMenuWk::cbPlay1Click);
    Choose(frmMenuWk->cbPlay2, "Cpu", &TfrmMenuWk::cbPlay2Click);
    frmMenuWk->btOk->click();
  });
  ASSERT_TRUE(WaitUntil([this] { return TheGame().Over(); }, 30000));
  ASSERT_FALSE(boxes.boxes().empty());
  EXPECT_EQ(boxes.boxes().back().caption, "結果");
  EXPECT_EQ(Record().SouNum, 0) << "no local side, nothing counted";
  EXPECT_EQ(Record().SouWin + Record().SouLose, 0);
}

TEST_F(MenuWkTest, ABrokenEngineIsReportedAndTheOthersAreListed) {
  AddEngines();  // "Tekum"
  QDir().mkpath(exePath + "DllCpu/Broken");
  ASSERT_TRUE(WriteFile(exePath + "DllCpu/Broken/TEKUM.DLL", "not a library"));
  QDir().mkpath(exePath + "DllCpu/crash");
  ASSERT_TRUE(QFile::copy(TINY_CRASH_IN_STATUS, exePath + "DllCpu/crash/TEKUM.DLL"));
  QDir().mkpath(exePath + "DllCpu/Apple");
  ASSERT_TRUE(QFile::copy(TINY_ENGINE, exePath + "DllCpu/Apple/TEKUM.DLL"));
  QStringList entries, engines;
  OpenMenu([&] {
    entries = Entries(frmMenuWk->cbPlay1);
    for (int i = 0; i < frmMenuWk->lbCpu2->count(); ++i) engines << frmMenuWk->lbCpu2->item(i)->text();
    frmMenuWk->btOk->click();
  });
  const Box failure{"読み込めません", "DLLの読み込み"};
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>{failure, failure})) << "one box per bad folder";
  EXPECT_EQ(entries, QStringList({"local", "Cpu"}));
  EXPECT_EQ(engines, QStringList({"ミニエンジン・テスト", "ルリカ"})) << "Apple, (Broken, crash,) Tekum";
  EXPECT_EQ(frmGamen->mmDllPath->toPlainText().split('\n').size(), 2);
}

TEST_F(MenuWkTest, F1OpensTheMenuHelpAndCancelEndsTheProgram) {
  OpenMenu([&] {
    PressKey(frmMenuWk->cbPlay1, Qt::Key_F1);
    PressKey(frmMenuWk->btOk, Qt::Key_F1);
    frmMenuWk->btCancel->click();
  });
  EXPECT_EQ(helpPages, QStringList({exePath + "help/start2.html", exePath + "help/start2.html"}));
  EXPECT_EQ(frmMenuWk->result(), QDialog::Rejected);
  EXPECT_TRUE(WaitUntil([&] { return programEnded; }));
  EXPECT_EQ(TheGame().Who(1), 0) << "nothing was set up";
}

TEST_F(MenuWkTest, TheStatisticsWindowOpensAboveTheMenuAndTakesInput) {
  bool shown = false, above = false, closedByClick = false, menuStillOpen = false;
  OpenMenu([&] {
    frmMenuWk->lbPlayer1->addItem(QStringLiteral("花子"));
    frmMenuWk->lbPlayer1->setCurrentRow(0);
    frmMenuWk->lbPlayer1DblClick();
    shown = WaitUntil([] { return frmData->isVisible() && frmData->windowHandle() && frmData->windowHandle()->isExposed(); });
    above = frmData->windowHandle() && frmData->windowHandle()->transientParent() == frmMenuWk->windowHandle();
    // A click as the window system delivers it: a window under the modal menu never sees it.
    QTest::mouseClick(frmData->windowHandle(), Qt::LeftButton, {}, frmData->btClose->geometry().center());
    closedByClick = WaitUntil([] { return !frmData->isVisible(); }, 3000);
    menuStillOpen = frmMenuWk->isVisible();
    frmMenuWk->btOk->click();
  });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(above);
  EXPECT_TRUE(closedByClick);
  EXPECT_TRUE(menuStillOpen);
}
