#include "platform/ScreenCentre.h"

#include <QScreen>
#include <QWidget>

namespace platform {

void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    window->move(screen->availableGeometry().center() - window->rect().center());
  }
}

}  // namespace platform
