#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <set>

#include "platform/FileSearch.h"
#include "platform/Registry.h"
#include "tests/support/Files.h"

using namespace platform;

TEST(FileSearch, MatchesWithoutRegardToCase) {
  EXPECT_TRUE(MatchesPattern("FACE.BMP", "*.bmp"));
  EXPECT_TRUE(MatchesPattern("tekum.dll", "TEKUM.DLL"));
  EXPECT_TRUE(MatchesPattern("a.b.bmp", "*.bmp"));
  EXPECT_FALSE(MatchesPattern("face.bmpx", "*.bmp"));
  EXPECT_TRUE(MatchesPattern("x1", "x?"));
  EXPECT_FALSE(MatchesPattern("x", "x?"));
}

TEST(FileSearch, ListsEntriesWithDirectoryFlag) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("Engine");
  ASSERT_TRUE(WriteFile(dir.path() + "/Face.BMP"));
  std::set<std::pair<std::string, bool>> seen;
  for (const auto& e : FindFiles(dir.path().toStdString(), "*")) seen.insert({e.name, e.isDirectory});
  EXPECT_TRUE(seen.count({"Engine", true}));
  EXPECT_TRUE(seen.count({"Face.BMP", false}));
  EXPECT_TRUE(seen.count({".", true}));
  EXPECT_EQ(FindFiles(dir.path().toStdString(), "*.bmp").size(), 1u);
  EXPECT_TRUE(FindFiles(dir.path().toStdString() + "/missing", "*").empty());
}

TEST(Registry, ValuesKeepTheirTypeAndAFailedWriteIsTold) {
  QTemporaryDir dir;
  const RegistryKey key(dir.path(), "SOFTWARE\\A\\B");
  EXPECT_TRUE(key.Write({{"PATH", QStringLiteral(u"/opt/ベルモラ/")}, {"VER", QByteArray("\x01\x00\xff", 3)}, {"TYPE", 7}})
                  .isEmpty());
  EXPECT_TRUE(key.Write({{"TYPE", 8}}).isEmpty());
  const RegistryKey again(dir.path(), "SOFTWARE\\A\\B");
  EXPECT_EQ(again.Read("PATH"), QVariant(QStringLiteral(u"/opt/ベルモラ/")));
  EXPECT_EQ(again.Read("VER").toByteArray(), QByteArray("\x01\x00\xff", 3));
  EXPECT_EQ(again.Read("TYPE").typeId(), QMetaType::Int);
  EXPECT_EQ(again.Read("TYPE").toInt(), 8);
  EXPECT_FALSE(again.Read("NONE").isValid());
  EXPECT_TRUE(again.FilePath().startsWith(dir.path()));

  // A root that is a plain file: nothing can be written under it, and the answer says so.
  ASSERT_TRUE(WriteFile(dir.filePath("file")));
  const RegistryKey blocked(dir.filePath("file"), "SOFTWARE\\A\\B");
  const QString error = blocked.Write({{"TYPE", 1}});
  EXPECT_TRUE(error.contains(blocked.FilePath())) << error.toStdString();
}

