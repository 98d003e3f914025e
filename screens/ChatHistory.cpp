#include "screens/ChatHistory.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/Codec.h"

namespace {
// One line of Chat.log.
QByteArray LogLineBytes(const QString& line) { return platform::ToCp932(line) + "\r\n"; }
}  // namespace

ChatHistory::ChatHistory(QPlainTextEdit* view) : QObject(view), view_(view) {
  // A log is never undone; an undo stack would keep every line (and every trim) forever.
  view->document()->setUndoRedoEnabled(false);
  connect(view->document(), &QTextDocument::blockCountChanged, this, &ChatHistory::Trim);
}

void ChatHistory::Trim() {
  QTextDocument* doc = view_->document();
  const int excess = doc->blockCount() - MaxLines;
  if (excess <= 0 || trimming_) return;
  trimming_ = true;
  QTextCursor cursor(doc);
  cursor.movePosition(QTextCursor::Start);
  for (int i = 0; i < excess; ++i) {
    earlier_ += LogLineBytes(cursor.block().text());
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
  }
  cursor.removeSelectedText();
  trimming_ = false;
}

QByteArray ChatHistory::LogBytes() const {
  QByteArray bytes = earlier_;
  const QString shown = view_->toPlainText();
  if (shown.isEmpty()) return bytes;
  for (const QString& line : shown.split(QLatin1Char('\n'))) bytes += LogLineBytes(line);
  return bytes;
}
