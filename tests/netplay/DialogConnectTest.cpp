// The connection dialog while a room is being looked for: it stays answering, shows that it is
// connecting, and closing it gives the attempt up.
#include <QElapsedTimer>

#include <algorithm>

#include "platform/NameLookup.h"
#include "tests/netplay/NetplayFixture.h"
#include "tests/support/Wait.h"

namespace {

class DialogConnect : public NetplayFixture {};

TEST_F(DialogConnect, AnswersWhileALookUpHangsAndClosingGivesItUp) {
  // A resolver that never answers, unless the test makes it.
  QStringList asked;
  platform::NameLookup::Answer late;
  resolver = [&](const QString& name, platform::NameLookup::Answer answer) {
    asked << name;
    late = std::move(answer);
  };
  FillDialog(QStringLiteral("Ko"), FreePort(), false, QStringLiteral("slow.example"));
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([&] { return !asked.isEmpty(); }));
  EXPECT_EQ(asked, QStringList{QStringLiteral("slow.example")});
  EXPECT_FALSE(frmMenu->btOk->isEnabled());
  EXPECT_TRUE(frmMenu->btCancel->isEnabled()) << "終了 gives the attempt up";
  EXPECT_EQ(frmMenu->cursor().shape(), Qt::WaitCursor);

  std::vector<qint64> waits;
  for (int i = 0; i < 9; ++i) {
    QElapsedTimer clock;
    clock.start();
    qint64 ran = -1;
    QTimer::singleShot(0, frmMenu, [&] { ran = clock.elapsed(); });
    ASSERT_TRUE(WaitUntil([&] { return ran >= 0; }));
    waits.push_back(ran);
  }
  std::sort(waits.begin(), waits.end());
  EXPECT_LT(waits[waits.size() / 2], 50) << "a posted event runs while the name is looked up";

  frmMenu->close();
  ASSERT_TRUE(programEnded);
  // The answer that comes after all changes nothing.
  late({*platform::IpAddress::FromText(QStringLiteral("127.0.0.1"))});
  // An answer goes through the event queue: once an event posted after it has run, it has too.
  bool later = false;
  QMetaObject::invokeMethod(qApp, [&] { later = true; }, Qt::QueuedConnection);
  ASSERT_TRUE(WaitUntil([&] { return later; }));
  EXPECT_FALSE(frmGamen->isVisible());
  EXPECT_EQ(frmSocket->MemberSocket(), -1);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DialogConnect, AFailedJoinGivesTheButtonsAndTheCursorBack) {
  resolver = [](const QString&, platform::NameLookup::Answer answer) { answer({}); };
  FillDialog(QStringLiteral("Ko"), FreePort(), false, QStringLiteral("nowhere.example"));
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([] { return frmMenu->btOk->isEnabled(); }));
  EXPECT_EQ(frmMenu->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(boxes.boxes().empty()) << "an unknown name is told by nobody";
  EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edHostName);
}

}  // namespace
