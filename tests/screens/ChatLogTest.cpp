// Chat.log as the game screen writes it when it closes.
#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Codec.h"
#include "platform/ReplaceFile.h"
#include "screens/ChatHistory.h"
#include "tests/support/Files.h"

namespace {
// The lines of the game screen's chat view, written as it writes them.
QString WriteChatLog(const QString& path, const QStringList& lines) {
  QPlainTextEdit view;
  const ChatHistory history(&view);
  for (const QString& line : lines) view.appendPlainText(line);
  return platform::ReplaceFile(path, history.LogBytes());
}
}  // namespace

TEST(ChatLog, WritesCodePage932LinesEndingInCrLfAndReplacesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/Chat.log";
  ASSERT_TRUE(WriteFile(path, QByteArray(1000, 'x')));
  ASSERT_TRUE(WriteChatLog(path, {QStringLiteral("No.0(太郎):こんにちは"), QString(), QStringLiteral("abc")}).isEmpty());
  const QByteArray expected = platform::ToCp932(QStringLiteral("No.0(太郎):こんにちは")) + "\r\n\r\nabc\r\n";
  EXPECT_EQ(ReadFile(path), expected);
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
