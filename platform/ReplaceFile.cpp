#include "platform/ReplaceFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileErrorText.h"

namespace platform {
namespace {

// 0, or the errno of the write that failed (a short write counts as a failure).
int writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void syncFolder(const QByteArray& target) {
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Where the bytes go: the file a chain of links ends at, or path itself.
QString WrittenPath(const QString& path) {
  QFileInfo info(path);
  for (int hops = 0; info.isSymLink() && hops < 40; ++hops) info = QFileInfo(info.symLinkTarget());
  return info.filePath();
}

}  // namespace

QString ReplaceFile(const QString& path, QByteArrayView bytes) {
  const QString written = WrittenPath(path);
  RemoveStaleTemporaries(written, kStaleTemporaryAge);
  const QByteArray target = QFile::encodeName(written);
  QByteArray temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return FileErrorText(FileFailure::Save, path, errno);

  struct stat old {};
  const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  int err = ::fchmod(fd, mode) == 0 ? 0 : errno;
  if (!err) err = writeAll(fd, bytes.data(), static_cast<std::size_t>(bytes.size()));
  if (!err && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(temp.constData(), target.constData()) != 0) err = errno;
  if (err) {
    ::unlink(temp.constData());
    return FileErrorText(FileFailure::Save, path, err);
  }
  syncFolder(target);
  return {};
}

void RemoveStaleTemporaries(const QString& path, std::chrono::seconds olderThan) {
  const QFileInfo target(path);
  const QString prefix = target.fileName() + QLatin1Char('.');
  const QDateTime before = QDateTime::currentDateTime().addSecs(-olderThan.count());
  const QFileInfoList entries = target.dir().entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
  for (const QFileInfo& entry : entries) {
    // mkstemp's six letters and digits after the exact name, nothing else.
    const QString tail = entry.fileName().mid(prefix.size());
    const bool ours = entry.fileName().startsWith(prefix, Qt::CaseSensitive) &&
                      std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 0x80; });
    if (ours && entry.lastModified() < before) QFile::remove(entry.filePath());
  }
}

}  // namespace platform
