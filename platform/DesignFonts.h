#pragma once
#include <QFont>
#include <QString>

namespace platform {

// The windows are laid out for three Windows fonts; they are mapped once at start to the
// Japanese fonts installed here, so every caption keeps its glyphs and roughly its width.
void MapDesignFonts();

// A font of the design by name and pixel size ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", "System").
QFont DesignFont(const QString& family, int pixelSize);

inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kSystemFont = QStringLiteral("System");

}  // namespace platform
