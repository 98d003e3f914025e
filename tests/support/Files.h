#pragma once
// The one way a test puts bytes into a file or reads them back.
#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

// The whole file; empty when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes path hold exactly bytes, last changed ageSeconds ago. False when it cannot.
inline bool WriteFile(const QString& path, const QByteArray& bytes = {}, int ageSeconds = 0) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) return false;
  if (ageSeconds == 0) return true;
  file.flush();  // before the time is set: a later flush would make the file new again
  return file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
}
