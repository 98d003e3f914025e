#include "platform/Registry.h"
#include "settings/RegistryRecord.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RegistryRecordTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  void SetUp() override { platform::RegistryKey::SetRootOverride(root.path()); }
  void TearDown() override { platform::RegistryKey::SetRootOverride({}); }
};

TEST_F(RegistryRecordTest, WritesTheSevenValuesWithTheirTypes) {
  settings::WriteRegistryRecord(QStringLiteral("/opt/velmora/velmora"));
  const platform::RegistryKey key(QStringLiteral("SOFTWARE\\KSG\\SOFT\\QX0002"));
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
  platform::RegistryKey key(QStringLiteral("SOFTWARE\\KSG\\SOFT\\QX0002"));
  key.WriteString(QStringLiteral("OTHER"), QStringLiteral("kept"));
  key.WriteString(QStringLiteral("NAME"), QStringLiteral("stale"));
  settings::WriteRegistryRecord(QStringLiteral("/first/velmora"));
  settings::WriteRegistryRecord(QStringLiteral("/moved/velmora"));
  EXPECT_EQ(QStringLiteral("/moved/velmora"), key.Read(QStringLiteral("PATH")).toString());
  EXPECT_EQ(QStringLiteral("Velmora"), key.Read(QStringLiteral("NAME")).toString());
  EXPECT_EQ(QStringLiteral("kept"), key.Read(QStringLiteral("OTHER")).toString());
}

}  // namespace
