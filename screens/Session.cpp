#include "screens/Session.h"

Session::Session(QString programFolder, QString preferencesFile, Services services)
    : exePath(std::move(programFolder)), preferencesFile(std::move(preferencesFile)), services(std::move(services)) {
  if (!this->preferencesFile.isEmpty()) preferences = settings::LoadPreferences(this->preferencesFile);
}

void Session::SavePreferences() const {
  if (!preferencesFile.isEmpty()) settings::SavePreferences(preferences, preferencesFile);
}
