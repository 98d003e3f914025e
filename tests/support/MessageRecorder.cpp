#include "tests/support/MessageRecorder.h"

#include "platform/Dialogs.h"

MessageRecorder::MessageRecorder() {
  platform::SetMessageHandler([this](const QString& text, const QString& caption) {
    boxes_.push_back({text, caption});
    if (hook_) hook_(boxes_.back());
  });
}

MessageRecorder::~MessageRecorder() { platform::SetMessageHandler({}); }
