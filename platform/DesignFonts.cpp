#include "platform/DesignFonts.h"

#include <QStringList>

namespace platform {

void MapDesignFonts() {
  // The fixed-pitch design font keeps a fixed-pitch face; the others take the proportional one.
  QFont::insertSubstitutions(kGothic, {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP")});
  QFont::insertSubstitutions(kPGothic, {QStringLiteral("Noto Sans CJK JP")});
  QFont::insertSubstitutions(kSystemFont, {QStringLiteral("Noto Sans CJK JP")});
}

QFont DesignFont(const QString& family, int pixelSize) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace platform
