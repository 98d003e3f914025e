#pragma once
#include <QString>
#include <functional>

namespace platform {

// A modal box owned by the application: text, caption, one OK, no icon.
// Returns once the user has closed it.
void ShowMessage(const QString& text, const QString& caption);

// A modal question with two buttons, はい and いいえ; answers whether はい was chosen.
bool AskYesNo(const QString& text, const QString& caption);

// Tests replace the real box: the handler receives text and caption and the call returns at once.
using MessageHandler = std::function<void(const QString& text, const QString& caption)>;
void SetMessageHandler(MessageHandler handler);  // an empty handler restores the real box
// And the question: the handler's answer is the user's.
using QuestionHandler = std::function<bool(const QString& text, const QString& caption)>;
void SetQuestionHandler(QuestionHandler handler);

}  // namespace platform
