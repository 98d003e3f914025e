#pragma once
#include <QString>

#include "game/Game.h"
#include "settings/Preferences.h"

// What the windows of one run share: the program folder, the one game on the board and the
// user's preferences. The program start makes it and hands it to each window as it is made;
// no window reaches into another for these.
struct Session {
  explicit Session(QString programFolder = {}, QString preferencesFile = {});

  QString exePath;  // the program folder, ending in "/"
  Game game;
  settings::Preferences preferences;
  QString preferencesFile;  // where the preferences are kept; empty: nothing is kept
  QString dataFolder;       // where velm.dat and the game log are kept; empty: no game is kept

  // Keeps the preferences for the next run; a file that cannot be written keeps the old ones.
  void SavePreferences() const;
};
