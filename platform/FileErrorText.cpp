#include "platform/FileErrorText.h"

#include <QFileInfo>

#include <cstring>

namespace platform {

QString FileErrorText(FileFailure failure, const QString& path, const QString& systemText) {
  const QString what = failure == FileFailure::Read ? QStringLiteral("を読み込めません") : QStringLiteral("を保存できません");
  QString text = QStringLiteral("「%1」%2").arg(QFileInfo(path).absoluteFilePath(), what);
  if (!systemText.isEmpty()) text += QStringLiteral("（%1）").arg(systemText);
  return text;
}

QString FileErrorText(FileFailure failure, const QString& path, int error) {
  return FileErrorText(failure, path, QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace platform
