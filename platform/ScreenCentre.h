#pragma once

class QWidget;

namespace platform {

// Moves a window to the middle of the free area of the screen it is on (the primary screen
// for one not shown yet).
void CentreOnScreen(QWidget* window);

}  // namespace platform
