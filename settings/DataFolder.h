#pragma once
#include <QString>

namespace settings {

// Installing puts this file into the program folder: an installed program folder is shared and
// read-only, so the user's files cannot live in it.
inline constexpr const char* kInstalledMark = "velmora.installed";

// Where velm.dat and Chat.log are kept, and where the user's own pictures and engines are looked
// for after the program's: for an installed program $XDG_DATA_HOME/velmora/ (normally
// ~/.local/share/velmora/), whoever runs it, and likewise for a program folder this user cannot
// write (a build copied to a read-only place); otherwise the program folder itself, as a
// runnable folder keeps everything. Ends in "/"; made when missing.
QString DataFolder(const QString& programFolder);

}  // namespace settings
