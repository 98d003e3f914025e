// Where the user's files are kept: the program folder of a runnable build, the user's data
// folder for an installed program and for a program folder that cannot be written.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

#include "settings/DataFolder.h"
#include "tests/support/Files.h"

namespace {

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { qputenv("XDG_DATA_HOME", QFile::encodeName(data.path())); }
  void TearDown() override { qunsetenv("XDG_DATA_HOME"); }
  QString UserFolder() const { return data.path() + "/velmora/"; }
  QTemporaryDir data;
  QTemporaryDir program;
};

TEST_F(DataFolderTest, ARunnableBuildKeepsItsFilesAndAnInstalledOneTheUsers) {
  const QString folder = program.path() + "/";
  EXPECT_EQ(settings::DataFolder(folder), folder);
  ASSERT_TRUE(WriteFile(folder + settings::kInstalledMark));
  EXPECT_EQ(settings::DataFolder(folder), UserFolder());
  EXPECT_TRUE(QFileInfo::exists(UserFolder()));
}

TEST_F(DataFolderTest, AProgramFolderThatCannotBeWrittenKeepsItsFilesWhereAnInstalledOneDoes) {
  // A folder nobody may write, whoever runs the test (root included).
  const QString readOnly = QStringLiteral("/proc/sys/");
  ASSERT_NE(::access("/proc/sys", W_OK), 0);
  EXPECT_EQ(settings::DataFolder(readOnly), UserFolder());
}

}  // namespace
