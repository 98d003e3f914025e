#include "board/StoneCursors.h"

#include <QPixmap>
#include <optional>

namespace {
std::optional<QCursor>& Slot(int number) {
  static std::optional<QCursor> registered[2];
  return registered[number - 1];
}

QCursor Load(const char* resource) {
  // Hot spot at the top-left corner, where the held stone touches.
  return QCursor(QPixmap(QString::fromLatin1(resource)), 0, 0);
}
}  // namespace

void RegisterStoneCursors() {
  if (!Slot(1)) Slot(1) = Load(":/cursors/KUROGOMA.png");
  if (!Slot(2)) Slot(2) = Load(":/cursors/SIROGOMA.png");
}

QCursor StoneCursor(int number) {
  if (number != 1 && number != 2) return QCursor(Qt::ArrowCursor);
  RegisterStoneCursors();  // a board used before the game screen registered them still shows them
  return *Slot(number);
}

QCursor NoCursor() { return QCursor(Qt::ForbiddenCursor); }
