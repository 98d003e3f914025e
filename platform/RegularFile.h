#pragma once
#include <QByteArray>
#include <QString>

namespace platform {

// Reading a file that must be a plain file (velm.dat, pictures). Anything else in its place (a
// FIFO, a folder, a device) counts as no file at all, and reading never waits on such a thing.
struct RegularFileRead {
  enum class Outcome { Missing, Read, Failed };
  Outcome outcome = Outcome::Missing;
  QByteArray bytes;  // at most the bytes asked for, when Read
  int error = 0;     // errno, when Failed
};
RegularFileRead ReadRegularFile(const QString& path, qint64 maxBytes);

}  // namespace platform
