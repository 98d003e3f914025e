#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace platform {
namespace {
QString& rootOverride() {
  static QString root;
  return root;
}
}  // namespace

void RegistryKey::SetRootOverride(const QString& folder) { rootOverride() = folder; }

QString RegistryKey::Root() {
  if (!rootOverride().isEmpty()) return rootOverride();
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/velmora/registry";
}

RegistryKey::RegistryKey(const QString& keyPath) {
  QString rel = keyPath;
  rel.replace('\\', '/');
  filePath_ = Root() + "/" + rel + ".ini";
}

static void writeTyped(const QString& file, const QString& name, const QString& type, const QVariant& value) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings s(file, QSettings::IniFormat);
  s.beginGroup(name);
  s.setValue("type", type);
  s.setValue("value", value);
  s.endGroup();
  s.sync();
}

void RegistryKey::WriteString(const QString& name, const QString& value) {
  writeTyped(filePath_, name, "string", value);
}
void RegistryKey::WriteBinary(const QString& name, const QByteArray& value) {
  writeTyped(filePath_, name, "binary", QString::fromLatin1(value.toHex()));
}
void RegistryKey::WriteInteger(const QString& name, qint32 value) { writeTyped(filePath_, name, "integer", value); }

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
