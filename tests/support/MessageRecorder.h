#pragma once
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Dialogs.h"

// Boxes for a window under test: dialogs() keeps every (text, caption) shown, and the box
// "closes" at once. An optional hook runs on each box, for tests that act while a box is open;
// questions are answered by onQuestion's function (いいえ without one).
class MessageRecorder {
 public:
  struct Box {
    QString text;
    QString caption;
    bool operator==(const Box&) const = default;
  };

  MessageRecorder() = default;
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  // Valid for as long as this recorder lives.
  platform::Dialogs dialogs();

  const std::vector<Box>& boxes() const { return boxes_; }
  void clear() { boxes_.clear(); }
  void onBox(std::function<void(const Box&)> hook) { hook_ = std::move(hook); }
  void onQuestion(std::function<bool(const Box&)> answer) { answer_ = std::move(answer); }

 private:
  std::vector<Box> boxes_;
  std::function<void(const Box&)> hook_;
  std::function<bool(const Box&)> answer_;
};
