#include "screens/StatisticsTexts.h"

QString ShareText(std::int32_t wins, std::int32_t games) {
  if (games == 0) return QStringLiteral("---");
  return QString::asprintf("%1.3f", static_cast<double>(wins) / static_cast<double>(games));
}

StatisticsTexts FillStatistics(const std::array<std::int32_t, 6>& c) {
  StatisticsTexts t;
  t.SouNum = QString::number(c[0]);
  t.SouWin = QString::number(c[1]);
  t.SouLose = QString::number(c[2]);
  t.SouRitsu = ShareText(c[1], c[0]);
  t.Num = QString::number(c[3]);
  t.Win = QString::number(c[4]);
  t.Lose = QString::number(c[5]);
  t.Ritsu = ShareText(c[4], c[3]);
  return t;
}
