#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

void ShowSystemMessage(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool AskSystemYesNo(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.setEscapeButton(no);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace platform
