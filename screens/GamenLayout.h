#pragma once
// The game screen's panel arithmetic, kept apart from the window so it can be checked without one.

// The column widths, by integer division of the window width.
struct ColumnWidths {
  int board;    // Panel1: half the width
  int players;  // Panel2: a quarter of the width
};
ColumnWidths GamenColumnWidths(int windowWidth);

// The player column's panel heights, by integer division of the window height.
struct PlayerPanelHeights {
  int side1;  // Panel3: a fifth of the height
  int side2;  // Panel4: a fifth of the height
  int chat;   // Panel5: three fifths of the height
};
PlayerPanelHeights GamenPanelHeights(int windowHeight);

// Left of a face image centred in its panel.
int CentredLeft(int panelWidth, int imageWidth);

// The chat panel's controls for a panel of w × h.
struct ChatPanelLayout {
  int left;          // of all three
  int width;         // of all three
  int messageHeight; // reMessage, whose top stays where it is
  int restartTop;    // btRestart
};
ChatPanelLayout LayOutChatPanel(int w, int h, int messageTop);
