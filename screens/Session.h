#pragma once
#include <QString>

#include "game/Game.h"
#include "screens/Services.h"
#include "settings/Preferences.h"

// What the windows of one run share: the program folder, the one game on the board, the
// user's preferences and the services they ask the system through. The program start makes it and hands it to each window as it is made;
// no window reaches into another for these.
struct Session {
  explicit Session(QString programFolder = {}, QString preferencesFile = {}, Services services = {});

  QString exePath;  // the program folder, ending in "/"
  Game game;
  settings::Preferences preferences;
  QString preferencesFile;  // where the preferences are kept; empty: nothing is kept
  QString dataFolder;       // where velm.dat and the game log are kept; empty: no game is kept
  Services services;

  // Keeps the preferences for the next run; a file that cannot be written keeps the old ones.
  void SavePreferences() const;
};
