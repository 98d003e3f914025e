#pragma once
#include <QString>
#include <functional>

// F1 in a window opens its help page from the program folder's help/, wherever the program was
// started from. A missing page, or no program to show it, is told with 「ヘルプを開けません」.
void OpenHelpPage(const QString& programFolder, const QString& page);

// Tests see which page would open instead of starting a viewer; the opener answers whether it
// could open it. Empty restores the viewer.
void SetHelpOpener(std::function<bool(const QString&)> opener);

inline const QString kHelpStart = QStringLiteral("help/start.html");
inline const QString kHelpMenu = QStringLiteral("help/start2.html");
inline const QString kHelpGame = QStringLiteral("help/ame.html");
