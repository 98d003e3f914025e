// Replacing a file as a whole, for every file the program writes: what a replacement killed
// midway left is cleaned away, and a link is written through to its target.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/ReplaceFile.h"

namespace {

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A temporary as a replacement leaves it when it is killed before its rename, aged by seconds.
void LeaveTemporary(const QString& path, int ageSeconds) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("half");
  f.flush();  // before the time is set: a later flush would make it new again
  ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
}

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
  EXPECT_EQ(Contents(log), "line\n");
}

TEST(ReplaceFile, WritesThroughALinkToItsTarget) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("real"));
  const QString target = dir.filePath("real/velm.dat");
  const QString link = dir.filePath("velm.dat");
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  ASSERT_TRUE(QFile::link(target, link));
  ASSERT_TRUE(platform::ReplaceFile(link, "new").isEmpty());
  EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link stays a link";
  EXPECT_EQ(Contents(target), "new");
  EXPECT_TRUE(QDir(dir.filePath("real")).entryList(QDir::Files).size() == 1) << "no temporary left beside the target";
}
