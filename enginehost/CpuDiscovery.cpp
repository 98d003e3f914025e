#include "enginehost/CpuDiscovery.h"

#include <algorithm>

#include "enginehost/EngineCalls.h"
#include "contract/EngineContract.h"
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

unsigned char Capital(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

}  // namespace

bool EngineFolderBefore(const std::string& a, const std::string& b) {
  const auto [differA, differB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return Capital(x) == Capital(y); });
  if (differA == a.end() || differB == b.end()) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
  }
  return Capital(*differA) < Capital(*differB);
}

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// One folder's DllCpu/ into result; false once the search has been cancelled.
bool SearchFolder(const std::string& folder, const std::string& runner, EngineCallCancel* cancel,
                  std::chrono::milliseconds limit, EngineSearchResult& result) {
  const std::string engineFolder = WithSlash(folder) + VELM_ENGINE_FOLDER;
  std::vector<std::string> names;
  // "*" is this platform's match-everything pattern ("*.*" would need a dot in the name).
  for (const platform::FoundFile& entry : platform::FindFiles(engineFolder, "*")) {
    // "." and ".." and hidden folders are no engines; nor are files lying directly in DllCpu/.
    if (entry.isDirectory && !entry.name.empty() && entry.name.front() != '.') names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(), EngineFolderBefore);

  for (const std::string& name : names) {
    const std::string libraryPath = LibraryIn(engineFolder + name + "/");
    const EngineAnswer<EngineStatus> status = QueryEngineStatus(runner, libraryPath, cancel, limit);
    if (status.failure == EngineFailure::Cancelled) return false;
    if (!status.value) {
      result.failedPaths.push_back(libraryPath);
      continue;
    }
    result.engines.push_back({platform::FromCp932(status.value->name), libraryPath, status.value->bitmap});
  }
  return true;
}

}  // namespace

EngineSearchResult SearchEngines(const std::string& programFolder, const std::vector<std::string>& moreFolders,
                                 EngineCallCancel* cancel, std::chrono::milliseconds statusLimit) {
  EngineSearchResult result;
  const std::string runner = EngineRunnerIn(WithSlash(programFolder));
  if (!SearchFolder(programFolder, runner, cancel, statusLimit, result)) return result;
  for (const std::string& folder : moreFolders)
    if (!SearchFolder(folder, runner, cancel, statusLimit, result)) break;
  return result;
}

QString EnginePicturePath(const std::string& libraryPath, const QByteArray& bitmapName) {
  const std::size_t slash = libraryPath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : libraryPath.substr(0, slash + 1);
  return QString::fromStdString(folder) + platform::FromCp932(bitmapName);
}
