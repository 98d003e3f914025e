#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {
MessageHandler& handlerSlot() {
  static MessageHandler handler;
  return handler;
}
QuestionHandler& questionSlot() {
  static QuestionHandler handler;
  return handler;
}
}  // namespace

void SetMessageHandler(MessageHandler handler) { handlerSlot() = std::move(handler); }
void SetQuestionHandler(QuestionHandler handler) { questionSlot() = std::move(handler); }

void ShowMessage(const QString& text, const QString& caption) {
  if (handlerSlot()) {
    handlerSlot()(text, caption);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool AskYesNo(const QString& text, const QString& caption) {
  if (questionSlot()) return questionSlot()(text, caption);
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
