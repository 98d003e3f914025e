// Finding engines under DllCpu/ and asking them who they are, through the engine runner.
#include <gtest/gtest.h>

#include <QImage>

#include "enginehost/CpuDiscovery.h"
#include "enginehost/EngineCalls.h"
#include "tests/enginehost/EngineFolder.h"

namespace {

const QString kRurika = QStringLiteral(u"ルリカ");
const QString kMini = QStringLiteral(u"ミニエンジン・テスト");  // 20 bytes in code page 932

std::vector<std::string> Paths(const EngineSearchResult& result) {
  std::vector<std::string> paths;
  for (const auto& engine : result.engines) paths.push_back(engine.libraryPath);
  return paths;
}

}  // namespace

TEST(CpuDiscovery, ListsEveryEngineFolderByNameAndSkipsTheRest) {
  EngineFolder folder;
  // Listed by name with letters compared as capitals: "mini" before "Tekum" before "Twin".
  const std::string twin = folder.Install("Twin", BuiltTekum());               // same name again
  const std::string mini = folder.Install("mini", TINY_ENGINE, "tekum.dll");  // any letter case
  const std::string tekum = folder.Install("Tekum", BuiltTekum());
  folder.Install(".x", TINY_ENGINE);                                          // hidden: no engine
  folder.Write("DllCpu/TEKUM.DLL", QByteArray("a plain file is never an engine"));
  QFile::copy(QString::fromStdString(BuiltTekum()), QString::fromStdString(folder.DllCpu() + "Loose.DLL"));

  const EngineSearchResult found = SearchEngines(folder.ProgramFolder());
  EXPECT_TRUE(found.failedPaths.empty());
  ASSERT_EQ(Paths(found), (std::vector<std::string>{mini, tekum, twin}));
  EXPECT_EQ(found.engines[0].name, kMini);
  EXPECT_EQ(found.engines[1].name, kRurika);
  EXPECT_EQ(found.engines[1].bitmap, QByteArray("Rurika.bmp"));
  EXPECT_EQ(found.engines[2].name, kRurika);

  EXPECT_TRUE(EngineFolderBefore("a", "_x")) << "letters compare as capitals, which come before '_'";
  EXPECT_TRUE(EngineFolderBefore("ab", "ABC"));
}

TEST(CpuDiscovery, BadFoldersBetweenGoodOnesHideNoneOfThem) {
  EngineFolder folder;
  const std::string first = folder.Install("A", TINY_ENGINE);
  folder.Write("DllCpu/B1/TEKUM.DLL", QByteArray(4096, '\x7f'));  // no library at all
  folder.Install("B2", TINY_CRASH_IN_STATUS);
  folder.Install("B3", TINY_CRASH_ON_LOAD);
  folder.Install("B4", TINY_NO_STATUS);
  folder.MakeFolder("DllCpu/B5");  // no TEKUM.DLL
  const std::string last = folder.Install("C", BuiltTekum());

  const EngineSearchResult found = SearchEngines(folder.ProgramFolder());
  EXPECT_EQ(Paths(found), (std::vector<std::string>{first, last}));
  std::vector<std::string> bad;
  for (const char* name : {"B1", "B2", "B3", "B4", "B5"}) bad.push_back(folder.DllCpu() + name + "/TEKUM.DLL");
  EXPECT_EQ(found.failedPaths, bad) << "one failure per bad folder, in order";
}

TEST(CpuDiscovery, NoEngineFolderGivesNoEngines) {
  EngineFolder withEmptyDllCpu;
  auto found = SearchEngines(withEmptyDllCpu.ProgramFolder());
  EXPECT_TRUE(found.engines.empty());
  EXPECT_TRUE(found.failedPaths.empty());

  QTemporaryDir bare;
  found = SearchEngines(bare.path().toStdString() + "/");
  EXPECT_TRUE(found.engines.empty());
  EXPECT_TRUE(found.failedPaths.empty());

  // A program folder given without its trailing "/" is searched all the same.
  EngineFolder folder;
  folder.Install("Tekum", BuiltTekum());
  std::string noSlash = folder.ProgramFolder();
  noSlash.pop_back();
  EXPECT_EQ(SearchEngines(noSlash).engines.size(), 1u);
}

TEST(EngineCalls, StatusBuffersAndMissingExports) {
  const std::string runner = BuiltRunner();
  const auto mini = QueryEngineStatus(runner, TINY_ENGINE);
  ASSERT_TRUE(mini.value.has_value());
  EXPECT_EQ(mini.value->name.size(), 20) << "a name of exactly 20 bytes is kept whole";
  EXPECT_EQ(mini.value->bitmap, QByteArray("Mini.bmp"));

  // A name that overruns its buffer is cut to 20 bytes at a character boundary.
  const auto careless = QueryEngineStatus(runner, TINY_LONG_NAME);
  ASSERT_TRUE(careless.value.has_value());
  EXPECT_EQ(careless.value->name, QByteArray("\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A\x83\x8B\x83\x8A\x83\x4A\x83\x8B"));

  EXPECT_EQ(QueryEngineStatus(runner, TINY_NO_STATUS).failure, EngineFailure::NotAnEngine);
  EXPECT_EQ(QueryEngineStatus(runner, "/nonexistent/TEKUM.DLL").failure, EngineFailure::NotAnEngine);
  EXPECT_TRUE(QueryEngineStatus(runner, TINY_NO_MOVE).value.has_value());

  std::int32_t column[3][3] = {{1, 2, 0}, {0, 0, 0}, {0, 0, 0}};
  std::int32_t* board[3] = {column[0], column[1], column[2]};
  EXPECT_EQ(AskEngineMove(runner, TINY_NO_MOVE, 3, 3, board, 1).failure, EngineFailure::NotAnEngine);
  EXPECT_EQ(AskEngineMove(runner, "/nonexistent/TEKUM.DLL", 3, 3, board, 1).failure, EngineFailure::NotAnEngine);
  const auto move = AskEngineMove(runner, TINY_ENGINE, 3, 3, board, 1);
  ASSERT_TRUE(move.value.has_value());
  EXPECT_EQ(move.value->x, 0);
  EXPECT_EQ(move.value->y, 2);
  EXPECT_EQ(move.value->value, 1);
}

TEST(EnginePicture, LiesBesideTheLibrary) {
  EXPECT_EQ(EnginePicturePath("/opt/velm/DllCpu/Tekum/TEKUM.DLL", "Rurika.bmp"),
            QStringLiteral("/opt/velm/DllCpu/Tekum/Rurika.bmp"));
  // The reported name is code page 932.
  EXPECT_EQ(EnginePicturePath("/p/DllCpu/R/TEKUM.DLL", QByteArray("\x83\x8B\x83\x8A.bmp")),
            QStringLiteral(u"/p/DllCpu/R/ルリ.bmp"));

  // The shipped engine's picture is found this way and loads.
  const auto status = QueryEngineStatus(BuiltRunner(), BuiltTekum());
  ASSERT_TRUE(status.value.has_value());
  const QImage face(EnginePicturePath(BuiltTekum(), status.value->bitmap));
  EXPECT_FALSE(face.isNull());
}
