#pragma once
#include <QString>

namespace settings {

// What the program remembers beyond velm.dat, which keeps exactly its 412 bytes: view options,
// the last match-menu choices, the router mapping. Kept in velmora.conf (INI) under the user's
// config folder. Every field has its default here; a missing, unreadable or damaged file, or a
// value of the wrong type, gives the default for that field.
struct Preferences {
  // The game screen's view.
  bool showTurnAndScore = true;
  bool markLastMove = true;
  bool markLegalMoves = true;
  bool animate = true;
  bool classicView = false;  // the original look: stretched board, no marks, chat always shown

  // The match menu's last choices, offered again: each side's kind as the menu names it
  // ("local", "Cpu", "Net") and, for an engine, its library.
  QString side1Kind = QStringLiteral("local");
  QString side1Engine;
  QString side2Kind = QStringLiteral("local");
  QString side2Engine;

  // A hosted room asks the home router to forward its port.
  bool openRouterPort = true;
};

// $XDG_CONFIG_HOME/velmora/velmora.conf (normally ~/.config/velmora/velmora.conf).
QString PreferencesFile();

Preferences LoadPreferences(const QString& file = PreferencesFile());
// Writes every field; answers false when the file could not be written.
bool SavePreferences(const Preferences& preferences, const QString& file = PreferencesFile());

}  // namespace settings
