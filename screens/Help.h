#pragma once
#include <QString>

struct Services;

// The windows' F1, for their FormKeyDown: F1 opens the window's help page from the program
// folder's help/ (programFolder ends in "/"), wherever the program was started from; other keys
// are left alone. A missing page, or no program to show it, is told with 「ヘルプを開けません」.
void HelpKeyDown(int key, const QString& page, const QString& programFolder, const Services& services);

inline const QString kHelpStart = QStringLiteral("help/start.html");
inline const QString kHelpMenu = QStringLiteral("help/start2.html");
inline const QString kHelpGame = QStringLiteral("help/ame.html");
