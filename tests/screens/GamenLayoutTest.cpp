// The game screen's panel arithmetic, without a window.
#include <gtest/gtest.h>

#include "screens/GamenLayout.h"

TEST(GamenArithmetic, DesignSizeGivesHalfQuarterAndFifths) {
  const ColumnWidths w = GamenColumnWidths(502);
  EXPECT_EQ(w.board, 251);
  EXPECT_EQ(w.players, 125);
  const PlayerPanelHeights h = GamenPanelHeights(371);
  EXPECT_EQ(h.side1, 74);
  EXPECT_EQ(h.side2, 74);
  EXPECT_EQ(h.chat, 222);
  EXPECT_EQ(GamenColumnWidths(7).board, 3);
  EXPECT_EQ(GamenColumnWidths(7).players, 1);
}

TEST(GamenArithmetic, FaceCentringAndChatPanel) {
  EXPECT_EQ(CentredLeft(144, 32), 56);
  EXPECT_EQ(CentredLeft(145, 32), 56);
  EXPECT_EQ(CentredLeft(20, 32), -6);  // a narrow panel pushes the face past its left edge
  const ChatPanelLayout l = LayOutChatPanel(125, 208, 40);
  EXPECT_EQ(l.left, 5);
  EXPECT_EQ(l.width, 115);
  EXPECT_EQ(l.messageHeight, 133);
  EXPECT_EQ(l.restartTop, 178);
}
