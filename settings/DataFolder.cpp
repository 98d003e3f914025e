#include "settings/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace settings {

QString DataFolder(const QString& programFolder) {
  // A build copied where it cannot write keeps its files where an installed one does.
  const bool writable = ::access(QFile::encodeName(programFolder).constData(), W_OK) == 0;
  if (writable && !QFileInfo::exists(programFolder + QLatin1String(kInstalledMark))) return programFolder;
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/velmora/");
  QDir().mkpath(folder);
  return folder;
}

}  // namespace settings
