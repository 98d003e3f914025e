#include "platform/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

RegularFileRead ReadRegularFile(const QString& path, qint64 maxBytes) {
  RegularFileRead result;
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno != ENOENT && errno != ENOTDIR) {
      result.outcome = RegularFileRead::Outcome::Failed;
      result.error = errno;
    }
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return result;
  }
  result.bytes.resize(static_cast<qsizetype>(std::min<qint64>(maxBytes, st.st_size)));
  qsizetype got = 0;
  while (got < result.bytes.size()) {
    const ssize_t n = ::read(fd, result.bytes.data() + got, static_cast<std::size_t>(result.bytes.size() - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.outcome = RegularFileRead::Outcome::Failed;
      result.error = errno;
      ::close(fd);
      return result;
    }
    if (n == 0) break;  // the file got shorter meanwhile
    got += n;
  }
  result.bytes.truncate(got);
  result.outcome = RegularFileRead::Outcome::Read;
  ::close(fd);
  return result;
}

}  // namespace platform
