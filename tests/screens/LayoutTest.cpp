// Every window at its design size: controls inside their parent, no two siblings overlapping,
// every caption wide enough for its text and drawable with the mapped fonts. Set
// VELM_SCREENSHOT_DIR to also keep a picture of each window.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRawFont>
#include <QSplitterHandle>

#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include <QListWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Wait.h"

namespace {

QString CaptionOf(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->wordWrap() ? QString() : label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  return {};
}

void CheckWindow(QWidget* window, const QString& name) {
  window->show();
  QCoreApplication::processEvents();
  const QString shots = qEnvironmentVariable("VELM_SCREENSHOT_DIR");
  if (!shots.isEmpty()) {
    QDir().mkpath(shots);
    window->grab().save(shots + "/" + name + ".png");
  }
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || qobject_cast<QSplitterHandle*>(w) || w->parentWidget()->inherits("QAbstractScrollArea")) continue;
    if (w->parentWidget()->inherits("QScrollBar") || w->inherits("QScrollBar") || w->objectName().startsWith("qt_")) continue;
    const QRect inside = w->parentWidget()->rect();
    EXPECT_TRUE(inside.contains(w->geometry())) << name.toStdString() << ": " << w->metaObject()->className() << " "
                                                << CaptionOf(w).toStdString() << " sticks out";
    const QString caption = CaptionOf(w);
    if (!caption.isEmpty()) {
      const QFontMetrics metrics(w->font());
      int room = w->width();
      if (qobject_cast<QCheckBox*>(w) || w->inherits("QRadioButton")) room -= 20;  // the box itself
      EXPECT_LE(metrics.horizontalAdvance(caption), room) << name.toStdString() << ": \"" << caption.toStdString() << "\" is cut";
      const QRawFont raw = QRawFont::fromFont(w->font());
      for (const QChar c : caption) {
        if (!c.isSpace()) {
          EXPECT_TRUE(raw.supportsCharacter(c)) << "no glyph for " << QString(c).toStdString();
        }
      }
    }
  }
  const QList<QWidget*> top = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (int i = 0; i < top.size(); ++i) {
    for (int j = i + 1; j < top.size(); ++j) {
      if (!top[i]->isVisibleTo(window) || !top[j]->isVisibleTo(window)) continue;
      EXPECT_FALSE(top[i]->geometry().intersects(top[j]->geometry()))
          << name.toStdString() << ": " << CaptionOf(top[i]).toStdString() << " overlaps " << CaptionOf(top[j]).toStdString();
    }
  }
}

}  // namespace

class LayoutTest : public ProgramFixture {};

TEST_F(LayoutTest, EveryWindowIsTidyAtItsDesignSize) {
  AddPictures({"face.bmp"});
  Start();
  CheckWindow(frmMenu, "menu");
  frmMenu->edUserName->setText(QStringLiteral("たろう"));
  frmMenu->rgNet->SetItemIndex(1);
  frmMenu->rgNetClick();
  // The game screen opens the match menu over itself; it is looked at while it is open.
  bool menuChecked = false;
  WhenShown(frmMenuWk, [&] {
    CheckWindow(frmMenuWk, "menuwk");
    menuChecked = true;
    frmMenuWk->btOk->click();
  });
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([&] { return menuChecked && !frmMenuWk->isVisible(); }));
  frmGamen->lbPeaple->addItem(QStringLiteral("たろう"));
  frmGamen->reMessage->appendPlainText(QStringLiteral("No.0(たろう):よろしく"));
  CheckWindow(frmGamen, "gamen");
  frmData->lbName->setText(QStringLiteral("花子"));
  CheckWindow(frmData, "data");
}
