#include "enginehost/CpuDiscovery.h"

#include "enginehost/EngineCalls.h"
#include "enginehost/EngineContract.h"
#include "platform/Codec.h"
#include "platform/FileSearch.h"

namespace {

// The library's own spelling of "TEKUM.DLL" in its folder: file names match without regard to
// case, as users of the engine folders expect.
std::string LibraryIn(const std::string& folder) {
  for (const platform::FoundFile& file : platform::FindFiles(folder, VELM_ENGINE_FILE_NAME))
    if (!file.isDirectory) return folder + file.name;
  return folder + VELM_ENGINE_FILE_NAME;
}

}  // namespace

EngineSearchResult SearchEngines(const std::string& programFolder) {
  EngineSearchResult result;
  std::string folder = programFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::string engineFolder = folder + VELM_ENGINE_FOLDER;
  // "*" is this platform's match-everything pattern ("*.*" would need a dot in the name).
  for (const platform::FoundFile& entry : platform::FindFiles(engineFolder, "*")) {
    // "." and ".." and hidden folders are no engines; nor are files lying directly in DllCpu/.
    if (!entry.isDirectory || entry.name.empty() || entry.name.front() == '.') continue;
    const std::string libraryPath = LibraryIn(engineFolder + entry.name + "/");
    const std::optional<EngineStatus> status = QueryEngineStatus(libraryPath);
    if (!status) {
      result.stoppedOnFailure = true;
      result.failedPath = libraryPath;
      break;
    }
    result.engines.push_back({platform::FromCp932(status->name), libraryPath});
  }
  return result;
}

QString EnginePicturePath(const std::string& libraryPath, const QByteArray& bitmapName) {
  const std::size_t slash = libraryPath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : libraryPath.substr(0, slash + 1);
  return QString::fromStdString(folder) + platform::FromCp932(bitmapName);
}
