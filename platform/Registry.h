#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>

namespace platform {

// The per-user registry: a key path such as "SOFTWARE\\KSG\\SOFT\\QX0002" maps to one INI-style
// file under the user's XDG config folder. Values keep their type: string, binary or integer.
class RegistryKey {
 public:
  explicit RegistryKey(const QString& keyPath);

  void WriteString(const QString& name, const QString& value);
  void WriteBinary(const QString& name, const QByteArray& value);
  void WriteInteger(const QString& name, qint32 value);

  // Reads back a value with its type (QString, QByteArray or int); invalid when absent.
  QVariant Read(const QString& name) const;

  // The file that holds this key.
  QString FilePath() const { return filePath_; }

  // Root folder for all keys; tests point it at a temporary folder. Empty restores the default.
  static void SetRootOverride(const QString& folder);
  static QString Root();

 private:
  QString filePath_;
};

}  // namespace platform
