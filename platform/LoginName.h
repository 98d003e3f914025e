#pragma once
#include <QString>
#include <functional>

namespace platform {

// The login name of the user running the program; empty when the system knows none.
QString LoginName();
void SetLoginNameOverride(std::function<QString()> provider);  // tests; empty restores the real one

}  // namespace platform
