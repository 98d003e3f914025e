#pragma once
#include <QString>
#include <functional>

// F1 in a window opens its help page, taken relative to the current folder. A missing page
// opens nothing and nothing else happens.
void OpenHelpPage(const QString& relativePath);

// Tests see which page would open instead of starting a viewer. Empty restores the viewer.
void SetHelpOpener(std::function<void(const QString&)> opener);

inline const QString kHelpStart = QStringLiteral("./help/start.html");
inline const QString kHelpMenu = QStringLiteral("./help/start2.html");
inline const QString kHelpGame = QStringLiteral("./help/ame.html");
