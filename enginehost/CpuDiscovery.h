#pragma once
// Finding the engines beside the program: one library per folder under "DllCpu/".
#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

struct FoundEngine {
  QString name;             // display name, decoded from code page 932
  std::string libraryPath;  // programFolder + "DllCpu/" + folder + "/TEKUM.DLL" (any letter case)
};

struct EngineSearchResult {
  std::vector<FoundEngine> engines;  // in the file system's order
  bool stoppedOnFailure = false;     // a library failed to load; the search stopped there
  std::string failedPath;            // that library, when stoppedOnFailure
};

// Searches programFolder + "DllCpu/" (programFolder ends in "/"): directory entries in the file
// system's order, names beginning with "." and plain files skipped. Asks each folder's library
// for its name; the first that fails to load (or lacks GetStatus) stops the search, keeping the
// engines found before it. A missing or empty folder gives no engines.
EngineSearchResult SearchEngines(const std::string& programFolder);

// The engine's picture: the folder part of the library path (up to and including its last "/")
// followed by the bitmap file name the engine reported (code page 932).
QString EnginePicturePath(const std::string& libraryPath, const QByteArray& bitmapName);
