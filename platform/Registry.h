#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>

#include <vector>

namespace platform {

// The per-user registry: a key path such as "SOFTWARE\\KSG\\SOFT\\QX0002" maps to one INI-style
// file under a root folder (normally the user's XDG config folder). Values keep their type:
// string, binary or integer.
class RegistryKey {
 public:
  RegistryKey(const QString& root, const QString& keyPath);

  struct Value {
    QString name;
    QVariant value;  // QString, QByteArray or int
  };
  // Writes the values at once, overwriting those of the same names and keeping the rest; the
  // file is replaced as a whole (ReplaceFile). Answers the error as the user is told it, empty
  // on success.
  QString Write(const std::vector<Value>& values) const;

  // Reads back a value with its type (QString, QByteArray or int); invalid when absent.
  QVariant Read(const QString& name) const;

  // The file that holds this key.
  QString FilePath() const { return filePath_; }

  // $XDG_CONFIG_HOME/velmora/registry
  static QString DefaultRoot();

 private:
  QString filePath_;
};

}  // namespace platform
