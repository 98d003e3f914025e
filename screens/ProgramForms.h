#pragma once
#include <QString>
#include <memory>

#include "screens/Session.h"
#include "settings/Preferences.h"
#include "settings/SaveRecord.h"

class TfrmMenu;
class TWNetDisp;
class TfrmGamen;
class TfrmSocket;
class TfrmMenuWk;
class TfrmData;
namespace platform {
class NetNeighbourhood;
}

// The program's six windows, created in their fixed order (each create handler runs as its
// window is made) and destroyed in the reverse order, so the dialog goes last and writes
// velm.dat from the record, which is declared first and therefore outlives every window. The
// session (the game and the preferences) is made before the windows and given to them.
class TProgramForms {
 public:
  // exePath: the program folder ending in "/". neighbourhood: what the LAN browser walks;
  // null for this machine's own. dataPath: where the user's files are kept (TfrmMenu::DataPath);
  // empty for the program folder. preferencesFile: velmora.conf; empty keeps nothing. services:
  // what the windows ask the system through (tests give their own).
  explicit TProgramForms(const QString& exePath, std::shared_ptr<platform::NetNeighbourhood> neighbourhood = nullptr,
                         const QString& dataPath = QString(),
                         const QString& preferencesFile = settings::PreferencesFile(), Services services = {});
  ~TProgramForms();
  TProgramForms(const TProgramForms&) = delete;
  TProgramForms& operator=(const TProgramForms&) = delete;

  // Only the dialog is shown at first.
  void ShowMain();
  // What the windows share: the game and the preferences.
  Session& Shared() { return session_; }

 private:
  SaveRecord record_;
  Session session_;  // after the record, before the windows: they are given it
  std::unique_ptr<TfrmMenu> menu_;
  std::unique_ptr<TWNetDisp> netDisp_;
  std::unique_ptr<TfrmGamen> gamen_;
  std::unique_ptr<TfrmSocket> socket_;
  std::unique_ptr<TfrmMenuWk> menuWk_;
  std::unique_ptr<TfrmData> data_;
};
