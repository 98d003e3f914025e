#include "platform/LoginName.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/OverridableAnswer.h"

namespace platform {
namespace {
QString userName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name) {
    return QString::fromLocal8Bit(found->pw_name);
  }
  return qEnvironmentVariable("USER");
}

OverridableAnswer& answer() {
  static OverridableAnswer slot(userName);
  return slot;
}
}  // namespace

void SetLoginNameOverride(std::function<QString()> provider) { answer().Override(std::move(provider)); }

QString LoginName() { return answer()(); }

}  // namespace platform
