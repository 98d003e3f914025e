#pragma once
#include <QString>
#include <functional>

#include "enginehost/EngineCalls.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

// What the windows ask of the system and tests answer in its place, given to each window and
// piece when it is made: the boxes, the viewer of help pages, how long engines may think and
// where the registry lies. The program runs with the defaults.
struct Services {
  platform::Dialogs dialogs;
  // Opens a help page; answers whether it could.
  std::function<bool(const QString& path)> openFile = platform::OpenFile;
  EngineTimeLimits engineLimits;
  QString registryRoot = platform::RegistryKey::DefaultRoot();
};
