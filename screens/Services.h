#pragma once
#include <QString>
#include <functional>

#include "enginehost/EngineCalls.h"
#include "net/NetRoom.h"
#include "platform/Dialogs.h"
#include "platform/LoginName.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

// What the windows ask the system and tests answer in its place, given to each window and
// piece when it is made: the boxes, the viewer of help pages, how long engines may think,
// where the registry lies, the user's login name, and what the room asks of the network. The
// program runs with the defaults.
struct Services {
  platform::Dialogs dialogs;
  // Opens a help page; answers whether it could.
  std::function<bool(const QString& path)> openFile = platform::OpenFile;
  EngineTimeLimits engineLimits;
  QString registryRoot = platform::RegistryKey::DefaultRoot();
  std::function<QString()> loginName = platform::LoginName;
  RoomSystem room;  // the computer's name, its interfaces, the name resolver
};
