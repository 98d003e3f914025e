#pragma once
#include <QString>

namespace platform {

// The login name of the user running the program; empty when the system knows none.
QString LoginName();

}  // namespace platform
