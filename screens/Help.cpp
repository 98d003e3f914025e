#include "screens/Help.h"

#include <QFileInfo>

#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace {
std::function<bool(const QString&)>& opener() {
  static std::function<bool(const QString&)> slot;
  return slot;
}
}  // namespace

void SetHelpOpener(std::function<bool(const QString&)> fn) { opener() = std::move(fn); }

void OpenHelpPage(const QString& programFolder, const QString& page) {
  const QString path = programFolder + page;
  const bool opened = QFileInfo(path).isFile() && (opener() ? opener()(path) : platform::OpenFile(path));
  if (!opened) platform::ShowMessage(QStringLiteral("ヘルプを開けません"), QStringLiteral("Velmora"));
}
