#include "platform/Registry.h"
#include "settings/RegistryRecord.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RegistryRecordTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  const platform::RegistryKey key{root.path(), QStringLiteral("SOFTWARE\\KSG\\SOFT\\QX0002")};
};

TEST_F(RegistryRecordTest, WritesTheSevenValuesWithTheirTypes) {
  EXPECT_TRUE(settings::WriteRegistryRecord(root.path(), QStringLiteral("/opt/velmora/velmora")).isEmpty());
  EXPECT_TRUE(key.FilePath().startsWith(root.path()));

  const auto string = [&](const char* name) {
    const QVariant v = key.Read(QString::fromLatin1(name));
    EXPECT_EQ(QMetaType::QString, v.typeId()) << name;
    return v.toString();
  };
  EXPECT_EQ(QStringLiteral("/opt/velmora/velmora"), string("PATH"));
  EXPECT_EQ(QStringLiteral("Velmora"), string("NAME"));
  EXPECT_EQ(QStringLiteral("ipn"), string("PARAM"));
  EXPECT_EQ(QStringLiteral("https://velmora.example.org/"), string("URL"));
  EXPECT_EQ(QStringLiteral("velm.lzh"), string("FILE"));

  const QVariant ver = key.Read(QStringLiteral("VER"));
  EXPECT_EQ(QMetaType::QByteArray, ver.typeId());
  EXPECT_EQ(QByteArray("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8), ver.toByteArray());
  const QVariant type = key.Read(QStringLiteral("TYPE"));
  EXPECT_EQ(QMetaType::Int, type.typeId());
  EXPECT_EQ(1, type.toInt());
}

TEST_F(RegistryRecordTest, EveryStartOverwritesPathAndKeepsOtherValues) {
  ASSERT_TRUE(key.Write({{QStringLiteral("OTHER"), QStringLiteral("kept")}, {QStringLiteral("NAME"), QStringLiteral("stale")}})
                  .isEmpty());
  settings::WriteRegistryRecord(root.path(), QStringLiteral("/first/velmora"));
  settings::WriteRegistryRecord(root.path(), QStringLiteral("/moved/velmora"));
  EXPECT_EQ(QStringLiteral("/moved/velmora"), key.Read(QStringLiteral("PATH")).toString());
  EXPECT_EQ(QStringLiteral("Velmora"), key.Read(QStringLiteral("NAME")).toString());
  EXPECT_EQ(QStringLiteral("kept"), key.Read(QStringLiteral("OTHER")).toString());
}

}  // namespace
