#pragma once
#include <QString>
#include <functional>

namespace platform {

// A modal box owned by the application: text, caption, one OK, no icon. Returns once the user
// has closed it.
void ShowSystemMessage(const QString& text, const QString& caption);
// A modal question with two buttons, はい and いいえ; answers whether はい was chosen.
bool AskSystemYesNo(const QString& text, const QString& caption);

// The boxes a window or a piece shows, given to it when it is made: the real ones unless a
// test gives its own, which record the texts and answer at once.
struct Dialogs {
  std::function<void(const QString& text, const QString& caption)> message = ShowSystemMessage;
  std::function<bool(const QString& text, const QString& caption)> question = AskSystemYesNo;

  void ShowMessage(const QString& text, const QString& caption) const { message(text, caption); }
  bool AskYesNo(const QString& text, const QString& caption) const { return question(text, caption); }
};

}  // namespace platform
