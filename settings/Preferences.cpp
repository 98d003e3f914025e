#include "settings/Preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <variant>

namespace settings {
namespace {

using Member = std::variant<bool Preferences::*, int Preferences::*, QString Preferences::*>;

struct Field {
  const char* key;
  Member member;
};

// The file's one table: every key with the field it fills. New preferences add a row here.
const Field kFields[] = {
    {"view/turnAndScore", &Preferences::showTurnAndScore},
    {"view/lastMove", &Preferences::markLastMove},
    {"view/legalMoves", &Preferences::markLegalMoves},
    {"view/animation", &Preferences::animate},
    {"view/classic", &Preferences::classicView},
    {"match/side1", &Preferences::side1Kind},
    {"match/side1Engine", &Preferences::side1Engine},
    {"match/side2", &Preferences::side2Kind},
    {"match/side2Engine", &Preferences::side2Engine},
    {"network/openRouterPort", &Preferences::openRouterPort},
};

// A value of the wrong type keeps the default: "yes" is not a flag, "12a" not a number.
void Read(const QVariant& stored, bool& field) {
  const QString text = stored.toString().trimmed().toLower();
  if (text == QLatin1String("true")) field = true;
  if (text == QLatin1String("false")) field = false;
}
void Read(const QVariant& stored, int& field) {
  bool ok = false;
  const int value = stored.toString().trimmed().toInt(&ok);
  if (ok) field = value;
}
void Read(const QVariant& stored, QString& field) { field = stored.toString(); }

}  // namespace

QString PreferencesFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/velmora/velmora.conf");
}

Preferences LoadPreferences(const QString& file) {
  Preferences preferences;
  if (!QFileInfo(file).isFile()) return preferences;
  QSettings stored(file, QSettings::IniFormat);
  if (stored.status() != QSettings::NoError) return preferences;
  for (const Field& field : kFields) {
    const QVariant value = stored.value(QLatin1String(field.key));
    if (!value.isValid()) continue;
    std::visit([&](auto member) { Read(value, preferences.*member); }, field.member);
  }
  return preferences;
}

bool SavePreferences(const Preferences& preferences, const QString& file) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSettings stored(file, QSettings::IniFormat);
  for (const Field& field : kFields)
    std::visit([&](auto member) { stored.setValue(QLatin1String(field.key), preferences.*member); }, field.member);
  stored.sync();
  return stored.status() == QSettings::NoError;
}

}  // namespace settings
