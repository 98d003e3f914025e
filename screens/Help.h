#pragma once
#include <QString>
#include <functional>

// The windows' F1, for their FormKeyDown: F1 opens the window's help page from the program
// folder's help/, wherever the program was started from; other keys are left alone. A missing
// page, or no program to show it, is told with 「ヘルプを開けません」.
void HelpKeyDown(int key, const QString& page);

// Tests see which page would open instead of starting a viewer; the opener answers whether it
// could open it. Empty restores the viewer.
void SetHelpOpener(std::function<bool(const QString&)> opener);

inline const QString kHelpStart = QStringLiteral("help/start.html");
inline const QString kHelpMenu = QStringLiteral("help/start2.html");
inline const QString kHelpGame = QStringLiteral("help/ame.html");
