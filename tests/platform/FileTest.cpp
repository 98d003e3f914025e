// Replacing a file as a whole, for every file the program writes: what a replacement killed
// midway left is cleaned away, and a link is written through to its target.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/ReplaceFile.h"
#include "tests/support/Files.h"

namespace {

// A temporary as a replacement leaves it when it is killed before its rename, aged by seconds.
void LeaveTemporary(const QString& path, int ageSeconds) { ASSERT_TRUE(WriteFile(path, "half", ageSeconds)); }

}  // namespace

TEST(ReplaceFile, CleansWhatAnEarlierReplacementOfTheSameFileLeft) {
  QTemporaryDir dir;
  const QString log = dir.filePath("Chat.log");
  LeaveTemporary(log + ".a1B2c3", 3600);
  LeaveTemporary(log + ".d4E5f6", 0);  // another copy of the program writing it this moment
  LeaveTemporary(dir.filePath("velm.dat.g7H8i9"), 3600);  // another file's: not this write's
  ASSERT_TRUE(platform::ReplaceFile(log, "line\n").isEmpty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"Chat.log", "Chat.log.d4E5f6", "velm.dat.g7H8i9"}));
  EXPECT_EQ(ReadFile(log), "line\n");
}

TEST(ReplaceFile, WritesThroughALinkToItsTarget) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
  const QString target = dir.filePath("real/velm.dat");
  const QString link = dir.filePath("velm.dat");
  ASSERT_TRUE(WriteFile(target, "old"));
  ASSERT_TRUE(QFile::link(target, link));
  ASSERT_TRUE(platform::ReplaceFile(link, "new").isEmpty());
  EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_TRUE(QDir(dir.filePath("real")).entryList(QDir::Files).size() == 1) << "no temporary left beside the target";
}
