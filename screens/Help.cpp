#include "screens/Help.h"

#include <QFileInfo>

#include "screens/Services.h"

void HelpKeyDown(int key, const QString& page, const QString& programFolder, const Services& services) {
  if (key != Qt::Key_F1) return;
  const QString path = programFolder + page;
  const bool opened = QFileInfo(path).isFile() && services.openFile(path);
  if (!opened) services.dialogs.ShowMessage(QStringLiteral("ヘルプを開けません"), QStringLiteral("Velmora"));
}
