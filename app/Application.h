#pragma once
#include <QApplication>
#include <QString>
#include <exception>

#include "platform/Dialogs.h"

// The application object. An error that escapes a handler is shown in the standard error box
// (its text, the program's title as caption) and the message loop goes on.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The error box for an error that escaped: the error's own text, or a plain one when it has none.
void ShowEscapedError(std::exception_ptr error, const platform::Dialogs& dialogs = {});
QString EscapedErrorText(std::exception_ptr error);

// The program folder: the executable's folder with a trailing "/".
QString ProgramFolder();
