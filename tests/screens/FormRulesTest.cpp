#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Codec.h"
#include "platform/ReplaceFile.h"
#include "screens/ChatHistory.h"
#include "screens/FormRules.h"

namespace {
// Chat.log as the game screen writes it when it closes: the lines of its chat view.
QString WriteChatLog(const QString& path, const QStringList& lines) {
  QPlainTextEdit view;
  const ChatHistory history(&view);
  for (const QString& line : lines) view.appendPlainText(line);
  return platform::ReplaceFile(path, history.LogBytes());
}
}  // namespace

TEST(PortFromText, AcceptsTheIntegerFormsWithinThePortRange) {
  EXPECT_EQ(PortFromText("5000"), 5000);
  EXPECT_EQ(PortFromText("  5000"), 5000);
  EXPECT_EQ(PortFromText("+80"), 80);
  EXPECT_EQ(PortFromText("$1F90"), 8080);
  EXPECT_EQ(PortFromText("0x1f90"), 8080);
  EXPECT_EQ(PortFromText("1"), 1);
  EXPECT_EQ(PortFromText("65535"), 65535);
}

TEST(PortFromText, TakesWhatAJapaneseInputMethodTypesAndSpacesAround) {
  EXPECT_EQ(PortFromText(QStringLiteral(u"８０８０")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u" 8080 ")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u"　８０８０　")), 8080);
  EXPECT_EQ(PortFromText(QStringLiteral(u"＄１Ｆ９０")), 8080);
  EXPECT_FALSE(PortFromText(QStringLiteral(u"８０　８０")));
  EXPECT_FALSE(PortFromText(QStringLiteral(u"　")));
}

TEST(PortFromText, RefusesWhatWouldWrapOrIsNoNumber) {
  for (const char* text : {"65536", "70000", "0", "-1", "-65535", "$10000", "abc", "", "50 00", "5000x", "0x"}) {
    EXPECT_FALSE(PortFromText(QString::fromUtf8(text)).has_value()) << text;
  }
}

TEST(Statistics, ShareIsWinsOverGamesWithThreeDecimals) {
  EXPECT_EQ(ShareText(0, 0), "---");
  EXPECT_EQ(ShareText(2, 3), "0.667");
  EXPECT_EQ(ShareText(2, 2), "1.000");
  EXPECT_EQ(ShareText(0, 5), "0.000");
  EXPECT_EQ(ShareText(3, 6), "0.500");
}

TEST(Statistics, FillsEachRecordFromItsOwnCounters) {
  const StatisticsTexts t = FillStatistics({3, 2, 1, 0, 0, 0});
  EXPECT_EQ(t.SouNum, "3");
  EXPECT_EQ(t.SouWin, "2");
  EXPECT_EQ(t.SouLose, "1");
  EXPECT_EQ(t.SouRitsu, "0.667");
  EXPECT_EQ(t.Num, "0");
  EXPECT_EQ(t.Ritsu, "---");

  const StatisticsTexts n = FillStatistics({10, 1, 9, 4, 1, 2});
  EXPECT_EQ(n.SouRitsu, "0.100");
  EXPECT_EQ(n.Num, "4");
  EXPECT_EQ(n.Win, "1");
  EXPECT_EQ(n.Lose, "2");
  EXPECT_EQ(n.Ritsu, "0.250");  // a drawn network game lowers the share
}

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

TEST(ChatLog, WritesCodePage932LinesEndingInCrLfAndReplacesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/Chat.log";
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
  }
  ASSERT_TRUE(WriteChatLog(path, {QStringLiteral("No.0(太郎):こんにちは"), QString(), QStringLiteral("abc")}).isEmpty());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray expected = platform::ToCp932(QStringLiteral("No.0(太郎):こんにちは")) + "\r\n\r\nabc\r\n";
  EXPECT_EQ(file.readAll(), expected);
  EXPECT_NE(expected.indexOf("\x91\xbe"), -1);  // 太 in code page 932, not UTF-8
}

TEST(ChatLog, AnEmptyLogLeavesAnEmptyFileAndAFailureIsReported) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteChatLog(dir.path() + "/Chat.log", {}).isEmpty());
  EXPECT_EQ(QFileInfo(dir.path() + "/Chat.log").size(), 0);
  QDir(dir.path()).mkdir("blocked");
  EXPECT_FALSE(WriteChatLog(dir.path() + "/blocked", {"x"}).isEmpty());
  EXPECT_FALSE(WriteChatLog(dir.path() + "/missing/Chat.log", {"x"}).isEmpty());
}
