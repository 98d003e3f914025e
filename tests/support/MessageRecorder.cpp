#include "tests/support/MessageRecorder.h"

platform::Dialogs MessageRecorder::dialogs() {
  return {
      [this](const QString& text, const QString& caption) {
        boxes_.push_back({text, caption});
        if (hook_) hook_(boxes_.back());
      },
      [this](const QString& text, const QString& caption) { return answer_ && answer_({text, caption}); },
  };
}
