#pragma once
#include <QString>

namespace platform {

// This machine's name (the host name).
QString ComputerName();

}  // namespace platform
