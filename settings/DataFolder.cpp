#include "settings/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace settings {

QString DataFolder(const QString& programFolder) {
  if (!QFileInfo::exists(programFolder + QLatin1String(kInstalledMark))) return programFolder;
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/velmora/");
  QDir().mkpath(folder);
  return folder;
}

}  // namespace settings
