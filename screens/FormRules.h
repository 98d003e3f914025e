#pragma once
// The arithmetic and text rules of the windows, kept apart from the widgets so they can be
// checked without a window.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// A port box's text as a port: the integer rule of the port boxes, then 1 to 65535 only, so a
// number outside the range is refused instead of wrapping to some other port.
std::optional<std::uint16_t> PortFromText(const QString& text);

// The statistics window: a count as decimal text, and a share of games won as "%1.3f"
// ("---" while there are no games). A draw counts as a game, so it lowers the share.
QString ShareText(std::int32_t wins, std::int32_t games);

// The eight value texts of the statistics window, from the six counters in reply order
// (total games, wins, losses, network games, wins, losses).
struct StatisticsTexts {
  QString SouNum, SouWin, SouLose, SouRitsu;
  QString Num, Win, Lose, Ritsu;
};
StatisticsTexts FillStatistics(const std::array<std::int32_t, 6>& counters);

// The game screen's panel sizes, by integer division of the window size.
struct ColumnWidths {
  int board;    // Panel1: half the width
  int players;  // Panel2: a quarter of the width
};
ColumnWidths GamenColumnWidths(int windowWidth);

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
