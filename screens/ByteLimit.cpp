#include "screens/ByteLimit.h"

#include <QLineEdit>

#include "platform/Codec.h"

void LimitToCp932Bytes(QLineEdit* edit, int maxBytes) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, maxBytes](const QString& text) {
    const QString kept = platform::LeftWithinCp932(text, static_cast<std::size_t>(maxBytes));
    if (kept.size() == text.size()) return;
    const int cursor = edit->cursorPosition();
    edit->setText(kept);
    edit->setCursorPosition(std::min(cursor, static_cast<int>(kept.size())));
  });
}
