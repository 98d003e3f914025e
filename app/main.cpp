// Velmora: the connection dialog first; the rest of the windows wait hidden until it sends the
// user on.
#include <QIcon>

#include <chrono>
#include <memory>
#include <optional>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/DesignFonts.h"
#include "platform/OpenFilesLimit.h"
#include "platform/Worker.h"
#include "screens/Menu.h"
#include "screens/ProgramForms.h"
#include "settings/DataFolder.h"

namespace {
// As long as a member's last records (its leave) may take to go out.
constexpr std::chrono::milliseconds kExitWait{2000};
}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> answered = AnswerCommandLine(argc, argv)) return *answered;
  // A large room needs more descriptors than the usual soft limit allows.
  platform::RaiseOpenFilesLimit();
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velmora"));
  QApplication::setApplicationVersion(QStringLiteral(VELM_VERSION));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/velmora.png")));
  // The desktop matches the windows to the menu entry by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Velmora"));
  // The program ends when the dialog closes, not when the last window disappears.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::MapDesignFonts();

  int result = 0;
  std::unique_ptr<TProgramForms> forms;
  try {
    const QString programFolder = ProgramFolder();
    forms = std::make_unique<TProgramForms>(programFolder, nullptr, settings::DataFolder(programFolder));
    frmMenu->OnProgramEnd = [] { QCoreApplication::quit(); };
    forms->ShowMain();
    result = TApplication::exec();
  } catch (...) {
    // An error during start-up: the standard box, then a normal end.
    ShowEscapedError(std::current_exception());
  }
  forms.reset();  // reverse order of creation; the dialog, last, writes velm.dat
  // Stopped workers end within moments (a room's last records going out, a router told that
  // the room has closed); one that does not is ended with the process.
  return platform::Worker::EndProgram(result, kExitWait);
}
