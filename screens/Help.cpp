#include "screens/Help.h"

#include "platform/Shell.h"

namespace {
std::function<void(const QString&)>& opener() {
  static std::function<void(const QString&)> slot;
  return slot;
}
}  // namespace

void SetHelpOpener(std::function<void(const QString&)> fn) { opener() = std::move(fn); }

void OpenHelpPage(const QString& relativePath) {
  if (opener()) {
    opener()(relativePath);
    return;
  }
  platform::OpenFile(relativePath);
}
