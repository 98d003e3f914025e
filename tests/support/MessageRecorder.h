#pragma once
#include <QString>
#include <functional>
#include <utility>
#include <vector>

// Replaces the application's message box for as long as it lives and keeps every
// (text, caption) shown; the box "closes" at once. An optional hook runs on each box,
// for tests that act while a box is open.
class MessageRecorder {
 public:
  struct Box {
    QString text;
    QString caption;
    bool operator==(const Box&) const = default;
  };

  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  const std::vector<Box>& boxes() const { return boxes_; }
  void clear() { boxes_.clear(); }
  void onBox(std::function<void(const Box&)> hook) { hook_ = std::move(hook); }

 private:
  std::vector<Box> boxes_;
  std::function<void(const Box&)> hook_;
};
