#pragma once
#include <QString>

namespace platform {

// Opens a local file (a help page) with the desktop's default viewer. A missing file opens nothing.
// Relative paths are taken from the current folder. Answers whether something was opened: false
// also when the desktop has no program to open it with.
bool OpenFile(const QString& path);

}  // namespace platform
