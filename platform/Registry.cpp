#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/FileErrorText.h"
#include "platform/ReplaceFile.h"

namespace platform {

QString RegistryKey::DefaultRoot() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/velmora/registry";
}

RegistryKey::RegistryKey(const QString& root, const QString& keyPath) {
  QString rel = keyPath;
  rel.replace('\\', '/');
  filePath_ = root + "/" + rel + ".ini";
}

QString RegistryKey::Write(const std::vector<Value>& values) const {
  // QSettings writes in place and reports little; it fills a private copy, whose bytes then
  // replace the key's file the way every other file is written.
  const QTemporaryDir work;
  if (!work.isValid()) return FileErrorText(FileFailure::Save, filePath_, work.errorString());
  const QString copy = work.filePath(QStringLiteral("key.ini"));
  if (QFileInfo::exists(filePath_) && !QFile::copy(filePath_, copy))
    return FileErrorText(FileFailure::Read, filePath_, QFile(filePath_).errorString());
  {
    QSettings s(copy, QSettings::IniFormat);
    for (const Value& v : values) {
      s.beginGroup(v.name);
      if (v.value.typeId() == QMetaType::QByteArray) {
        s.setValue("type", "binary");
        s.setValue("value", QString::fromLatin1(v.value.toByteArray().toHex()));
      } else if (v.value.typeId() == QMetaType::Int) {
        s.setValue("type", "integer");
        s.setValue("value", v.value.toInt());
      } else {
        s.setValue("type", "string");
        s.setValue("value", v.value.toString());
      }
      s.endGroup();
    }
    s.sync();
    if (s.status() != QSettings::NoError) return FileErrorText(FileFailure::Save, filePath_, EIO);
  }
  QFile written(copy);
  if (!written.open(QIODevice::ReadOnly)) return FileErrorText(FileFailure::Save, filePath_, written.errorString());
  const QByteArray bytes = written.readAll();
  if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
    return FileErrorText(FileFailure::Save, filePath_, EACCES);
  return ReplaceFile(filePath_, bytes);
}

QVariant RegistryKey::Read(const QString& name) const {
  QSettings s(filePath_, QSettings::IniFormat);
  s.beginGroup(name);
  const QString type = s.value("type").toString();
  const QVariant v = s.value("value");
  s.endGroup();
  if (type == "string") return v.toString();
  if (type == "binary") return QByteArray::fromHex(v.toString().toLatin1());
  if (type == "integer") return v.toInt();
  return {};
}

}  // namespace platform
