#include "screens/FormRules.h"

#include "settings/PortText.h"

std::optional<std::uint16_t> PortFromText(const QString& text) {
  const std::optional<std::int32_t> value = settings::ParsePortText(text);
  if (!value || *value < 1 || *value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

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

ColumnWidths GamenColumnWidths(int windowWidth) { return {windowWidth / 2, windowWidth / 4}; }

PlayerPanelHeights GamenPanelHeights(int windowHeight) {
  return {windowHeight / 5, windowHeight / 5, windowHeight * 3 / 5};
}

int CentredLeft(int panelWidth, int imageWidth) { return panelWidth / 2 - imageWidth / 2; }

ChatPanelLayout LayOutChatPanel(int w, int h, int messageTop) {
  return {5, w - 10, h - messageTop - 35, h - 30};
}
