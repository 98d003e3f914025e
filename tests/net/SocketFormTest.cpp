// The socket form's own part: where log lines go, and the message of a refused connection.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "WirePeer.h"
#include "net/Socket.h"
#include "tests/support/MessageRecorder.h"

namespace {

TEST(OutputControl, EachKindOfControlTakesTheLineItsOwnWay) {
  TfrmSocket form;
  form.AppendLogLine(QStringLiteral("nowhere"));  // none registered: nothing happens

  QLineEdit edit;
  form.SetOutputControl(&edit);
  form.AppendLogLine(QStringLiteral("one"));
  form.AppendLogLine(QStringLiteral("two"));
  EXPECT_EQ(edit.text(), QStringLiteral("two"));

  QLabel label;
  form.SetOutputControl(&label);
  form.AppendLogLine(QStringLiteral("three"));
  EXPECT_EQ(label.text(), QStringLiteral("three"));

  QComboBox combo;
  form.SetOutputControl(&combo);
  form.AppendLogLine(QStringLiteral("a"));
  form.AppendLogLine(QStringLiteral("b"));
  EXPECT_EQ(combo.count(), 2);

  QTextEdit rich;
  form.SetOutputControl(&rich);
  form.AppendLogLine(QStringLiteral("<b>not bold</b>"));
  form.AppendLogLine(QStringLiteral("second"));
  EXPECT_EQ(rich.toPlainText(), QStringLiteral("<b>not bold</b>\nsecond"));

  {
    QWidget other;
    form.SetOutputControl(&other);
    form.AppendLogLine(QStringLiteral("ignored"));
  }
  form.AppendLogLine(QStringLiteral("after the control is gone"));
  EXPECT_EQ(rich.toPlainText(), QStringLiteral("<b>not bold</b>\nsecond"));
}

TEST(SocketForm, TellsARefusedConnectionAndNotAnUnknownName) {
  MessageRecorder boxes;
  TfrmSocket form(nullptr, boxes.dialogs());
  int result = 1;
  form.ConnectToHost(QStringLiteral("127.0.0.1"), FreePort(), QStringLiteral("Me"), [&](int r) { result = r; });
  ASSERT_TRUE(WaitUntil([&] { return result != 1; }, 10000));
  EXPECT_EQ(result, -1);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral("この番号は現在使われておりません"));
  EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("ネットワークの接続"));

  boxes.clear();
  result = 1;
  form.ConnectToHost(QStringLiteral("no-such-host.invalid"), FreePort(), QStringLiteral("Me"), [&](int r) { result = r; });
  ASSERT_TRUE(WaitUntil([&] { return result != 1; }, 10000));
  EXPECT_EQ(result, -1);
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
