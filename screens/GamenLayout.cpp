#include "screens/GamenLayout.h"

ColumnWidths GamenColumnWidths(int windowWidth) { return {windowWidth / 2, windowWidth / 4}; }

PlayerPanelHeights GamenPanelHeights(int windowHeight) {
  return {windowHeight / 5, windowHeight / 5, windowHeight * 3 / 5};
}

int CentredLeft(int panelWidth, int imageWidth) { return panelWidth / 2 - imageWidth / 2; }

ChatPanelLayout LayOutChatPanel(int w, int h, int messageTop) {
  return {5, w - 10, h - messageTop - 35, h - 30};
}
