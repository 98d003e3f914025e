// Finding engines under DllCpu/ and asking them who they are.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "enginehost/CpuDiscovery.h"
#include "enginehost/EngineCalls.h"
#include "platform/FileSearch.h"
#include "tests/enginehost/EngineFolder.h"

namespace {

const QString kRurika = QStringLiteral(u"ルリカ");
const QString kMini = QStringLiteral(u"ミニエンジン・テスト");  // 20 bytes in code page 932

// The folders of DllCpu/ in the order the file system lists them, so expectations follow the
// same order the search must keep.
std::vector<std::string> FolderOrder(const EngineFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : platform::FindFiles(folder.DllCpu(), "*"))
    if (entry.isDirectory) names.push_back(entry.name);
  return names;
}

std::vector<std::string> Paths(const EngineSearchResult& result) {
  std::vector<std::string> paths;
  for (const auto& engine : result.engines) paths.push_back(engine.libraryPath);
  return paths;
}

}  // namespace

TEST(CpuDiscovery, ListsEveryEngineFolderAndSkipsTheRest) {
  EngineFolder folder;
  const std::string tekum = folder.Install("Tekum", BuiltTekum());
  const std::string mini = folder.Install("Mini", TINY_ENGINE, "tekum.dll");  // any letter case
  const std::string twin = folder.Install("Twin", BuiltTekum());               // same name again
  folder.Install(".x", TINY_ENGINE);                                           // hidden: no engine
  folder.Write("DllCpu/TEKUM.DLL", QByteArray("a plain file is never an engine"));
  QFile::copy(QString::fromStdString(BuiltTekum()), QString::fromStdString(folder.DllCpu() + "Loose.DLL"));

  const EngineSearchResult found = SearchEngines(folder.ProgramFolder());
  EXPECT_FALSE(found.stoppedOnFailure);

  std::vector<std::string> expected;
  for (const std::string& name : FolderOrder(folder)) {
    if (name == "Tekum") expected.push_back(tekum);
    if (name == "Mini") expected.push_back(mini);
    if (name == "Twin") expected.push_back(twin);
  }
  ASSERT_EQ(Paths(found), expected);
  for (const auto& engine : found.engines)
    EXPECT_EQ(engine.name, engine.libraryPath == mini ? kMini : kRurika) << engine.libraryPath;
}

TEST(CpuDiscovery, ALibraryThatFailsStopsTheSearchKeepingWhatWasFound) {
  EngineFolder folder;
  // Enough good folders that some usually come before the broken one in the listing.
  for (const char* name : {"E1", "E2", "E3", "E4", "E5", "E6"}) folder.Install(name, TINY_ENGINE);
  folder.Write("DllCpu/Broken/TEKUM.DLL", QByteArray(4096, '\x7f'));

  const EngineSearchResult found = SearchEngines(folder.ProgramFolder());
  EXPECT_TRUE(found.stoppedOnFailure);
  EXPECT_EQ(found.failedPath, folder.DllCpu() + "Broken/TEKUM.DLL");
  std::vector<std::string> before;
  for (const std::string& name : FolderOrder(folder)) {
    if (name == "Broken") break;
    if (name != "." && name != "..") before.push_back(folder.DllCpu() + name + "/TEKUM.DLL");
  }
  EXPECT_EQ(Paths(found), before);
}

TEST(CpuDiscovery, MissingLibraryOrMissingExportCountsAsAFailure) {
  {
    EngineFolder folder;
    folder.MakeFolder("DllCpu/Empty");
    const auto found = SearchEngines(folder.ProgramFolder());
    EXPECT_TRUE(found.stoppedOnFailure);
    EXPECT_TRUE(found.engines.empty());
  }
  {
    EngineFolder folder;
    folder.Install("NoStatus", TINY_NO_STATUS);
    const auto found = SearchEngines(folder.ProgramFolder());
    EXPECT_TRUE(found.stoppedOnFailure);
    EXPECT_TRUE(found.engines.empty());
  }
}

TEST(CpuDiscovery, NoEngineFolderGivesNoEngines) {
  EngineFolder withEmptyDllCpu;
  auto found = SearchEngines(withEmptyDllCpu.ProgramFolder());
  EXPECT_TRUE(found.engines.empty());
  EXPECT_FALSE(found.stoppedOnFailure);

  QTemporaryDir bare;
  found = SearchEngines(bare.path().toStdString() + "/");
  EXPECT_TRUE(found.engines.empty());
  EXPECT_FALSE(found.stoppedOnFailure);

  // A program folder given without its trailing "/" is searched all the same.
  EngineFolder folder;
  folder.Install("Tekum", BuiltTekum());
  std::string noSlash = folder.ProgramFolder();
  noSlash.pop_back();
  EXPECT_EQ(SearchEngines(noSlash).engines.size(), 1u);
}

TEST(EngineCalls, StatusBuffersAndMissingExports) {
  const auto mini = QueryEngineStatus(TINY_ENGINE);
  ASSERT_TRUE(mini.has_value());
  EXPECT_EQ(mini->name.size(), 20) << "a name of exactly 20 bytes is kept whole";
  EXPECT_EQ(mini->bitmap, QByteArray("Mini.bmp"));

  // A name that overruns its buffer is cut to 20 bytes at a character boundary.
  const auto careless = QueryEngineStatus(TINY_LONG_NAME);
  ASSERT_TRUE(careless.has_value());
  EXPECT_EQ(careless->name, QByteArray("\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A\x83\x8B"));

  EXPECT_FALSE(QueryEngineStatus(TINY_NO_STATUS).has_value());
  EXPECT_FALSE(QueryEngineStatus("/nonexistent/TEKUM.DLL").has_value());
  EXPECT_TRUE(QueryEngineStatus(TINY_NO_MOVE).has_value());

  std::int32_t column[3][3] = {{1, 2, 0}, {0, 0, 0}, {0, 0, 0}};
  std::int32_t* board[3] = {column[0], column[1], column[2]};
  EXPECT_FALSE(AskEngineMove(TINY_NO_MOVE, 3, 3, board, 1).has_value());
  EXPECT_FALSE(AskEngineMove("/nonexistent/TEKUM.DLL", 3, 3, board, 1).has_value());
  const auto move = AskEngineMove(TINY_ENGINE, 3, 3, board, 1);
  ASSERT_TRUE(move.has_value());
  EXPECT_EQ(move->x, 0);
  EXPECT_EQ(move->y, 2);
  EXPECT_EQ(move->value, 1);
}

TEST(EnginePicture, LiesBesideTheLibrary) {
  EXPECT_EQ(EnginePicturePath("/opt/velm/DllCpu/Tekum/TEKUM.DLL", "Rurika.bmp"),
            QStringLiteral("/opt/velm/DllCpu/Tekum/Rurika.bmp"));
  // The reported name is code page 932.
  EXPECT_EQ(EnginePicturePath("/p/DllCpu/R/TEKUM.DLL", QByteArray("\x83\x8B\x83\x8A.bmp")),
            QStringLiteral(u"/p/DllCpu/R/ルリ.bmp"));

  // The shipped engine's picture is found this way and loads.
  const auto status = QueryEngineStatus(BuiltTekum());
  ASSERT_TRUE(status.has_value());
  const QImage face(EnginePicturePath(BuiltTekum(), status->bitmap));
  EXPECT_FALSE(face.isNull());
}
