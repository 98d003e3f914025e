#pragma once
#include <QString>
#include <functional>

namespace platform {

// This machine's name (the host name). Tests may override it, for instance with "localhost",
// so that nothing is ever sent beyond loopback.
QString ComputerName();
void SetComputerNameOverride(std::function<QString()> provider);  // empty restores the real name

}  // namespace platform
