#pragma once
#include <QByteArray>
#include <QObject>

class QPlainTextEdit;

// Keeps a chat view to its last MaxLines lines, however long the room talks, and keeps every
// line that leaves the view as code page 932 bytes for Chat.log: a flood of chat costs a few
// dozen bytes a line instead of a text layout's hundreds.
class ChatHistory : public QObject {
 public:
  static constexpr int MaxLines = 5000;
  explicit ChatHistory(QPlainTextEdit* view);

  // Every line of the run, the ones still in the view last: code page 932, each ending CR LF.
  QByteArray LogBytes() const;

 private:
  void Trim();

  QPlainTextEdit* view_;
  QByteArray earlier_;
  bool trimming_ = false;
};
