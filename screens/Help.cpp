#include "screens/Help.h"

#include <QFileInfo>

#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "screens/Menu.h"

namespace {
std::function<bool(const QString&)>& opener() {
  static std::function<bool(const QString&)> slot;
  return slot;
}

void OpenHelpPage(const QString& page) {
  // The program folder is the dialog's.
  const QString path = (frmMenu ? frmMenu->ExePath : QString()) + page;
  const bool opened = QFileInfo(path).isFile() && (opener() ? opener()(path) : platform::OpenFile(path));
  if (!opened) platform::ShowMessage(QStringLiteral("ヘルプを開けません"), QStringLiteral("Velmora"));
}
}  // namespace

void SetHelpOpener(std::function<bool(const QString&)> fn) { opener() = std::move(fn); }

void HelpKeyDown(int key, const QString& page) {
  if (key == Qt::Key_F1) OpenHelpPage(page);
}
