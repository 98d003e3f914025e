#include "app/Application.h"

#include <QCoreApplication>

#include "platform/Dialogs.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowEscapedError(std::current_exception());
    return false;
  }
}

QString EscapedErrorText(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    const QString text = QString::fromLocal8Bit(e.what());
    if (!text.isEmpty()) return text;
  } catch (...) {
  }
  return QStringLiteral("予期しないエラーが発生しました");
}

void ShowEscapedError(std::exception_ptr error, const platform::Dialogs& dialogs) {
  dialogs.ShowMessage(EscapedErrorText(error), QStringLiteral("Velmora"));
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/"); }
