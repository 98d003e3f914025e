#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "platform/FileSearch.h"
#include "platform/Registry.h"

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
  QFile f(dir.path() + "/Face.BMP");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  std::set<std::pair<std::string, bool>> seen;
  for (const auto& e : FindFiles(dir.path().toStdString(), "*")) seen.insert({e.name, e.isDirectory});
  EXPECT_TRUE(seen.count({"Engine", true}));
  EXPECT_TRUE(seen.count({"Face.BMP", false}));
  EXPECT_TRUE(seen.count({".", true}));
  EXPECT_EQ(FindFiles(dir.path().toStdString(), "*.bmp").size(), 1u);
  EXPECT_TRUE(FindFiles(dir.path().toStdString() + "/missing", "*").empty());
}

TEST(Registry, ValuesKeepTheirType) {
  QTemporaryDir dir;
  RegistryKey::SetRootOverride(dir.path());
  RegistryKey key("SOFTWARE\\A\\B");
  key.WriteString("PATH", QStringLiteral(u"/opt/ベルモラ/"));
  key.WriteBinary("VER", QByteArray("\x01\x00\xff", 3));
  key.WriteInteger("TYPE", 7);
  RegistryKey again("SOFTWARE\\A\\B");
  EXPECT_EQ(again.Read("PATH"), QVariant(QStringLiteral(u"/opt/ベルモラ/")));
  EXPECT_EQ(again.Read("VER").toByteArray(), QByteArray("\x01\x00\xff", 3));
  EXPECT_EQ(again.Read("TYPE").typeId(), QMetaType::Int);
  EXPECT_EQ(again.Read("TYPE").toInt(), 7);
  EXPECT_FALSE(again.Read("NONE").isValid());
  EXPECT_TRUE(again.FilePath().startsWith(dir.path()));
  RegistryKey::SetRootOverride({});
}

