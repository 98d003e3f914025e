#pragma once
// Finding the engines beside the program: one library per folder under "DllCpu/".
#include <QByteArray>
#include <QString>
#include <chrono>
#include <string>
#include <vector>

#include "enginehost/EngineCalls.h"

class EngineCallCancel;

struct FoundEngine {
  QString name;             // display name, decoded from code page 932
  std::string libraryPath;  // programFolder + "DllCpu/" + folder + "/TEKUM.DLL" (any letter case)
  QByteArray bitmap;        // the picture file name the engine reported, code page 932
};

struct EngineSearchResult {
  std::vector<FoundEngine> engines;      // in folder-name order
  std::vector<std::string> failedPaths;  // one per folder whose library gave no status, same order
};

// Searches programFolder + "DllCpu/" (programFolder ends in "/"): engine folders in the order of
// their names compared without letter case, names beginning with "." and plain files skipped.
// Asks each folder's library for its name through the engine runner in programFolder; a library
// that does not load, lacks GetStatus, crashes or overruns its time is noted and the search goes
// on with the next folder. A cancelled search ends at once with what it has. A missing or empty
// folder gives no engines. moreFolders (the user's own, each ending in "/") are searched the same
// way after the program's, with the program folder's runner.
EngineSearchResult SearchEngines(const std::string& programFolder, const std::vector<std::string>& moreFolders = {},
                                 EngineCallCancel* cancel = nullptr,
                                 std::chrono::milliseconds statusLimit = EngineTimeLimits{}.status);

// Whether folder a comes before folder b: letters compared as capitals, as the file system the
// engine folders were first made for lists them; names differing only in case in byte order.
bool EngineFolderBefore(const std::string& a, const std::string& b);

// The engine's picture: the folder part of the library path (up to and including its last "/")
// followed by the bitmap file name the engine reported (code page 932).
QString EnginePicturePath(const std::string& libraryPath, const QByteArray& bitmapName);
