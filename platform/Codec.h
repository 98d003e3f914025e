#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>

// Code page 932 (Shift-JIS) at every boundary: records, velm.dat, Chat.log, engine buffers.
namespace platform {

// Encodes. A character that code page 932 has no place for becomes "？" (81 48), so nothing
// outside the code page is ever written; characters that Windows writes under a neighbouring
// code point (the wave dash "〜" as "～", the minus sign "−" as "－") are written as Windows does.
QByteArray ToCp932(const QString& text);

// Whether every character of text has a place in code page 932.
bool FitsCp932(const QString& text);

// The longest start of text that takes at most maxBytes in code page 932, cut between characters.
QString LeftWithinCp932(const QString& text, std::size_t maxBytes);

// Encodes and cuts to at most maxBytes, never through a double-byte character.
QByteArray ToCp932Cut(const QString& text, std::size_t maxBytes);

// Decodes bytes up to the first NUL, never reading past size.
QString FromCp932(const char* bytes, std::size_t size);
QString FromCp932(const QByteArray& bytes);

// Whether bytes are text: not empty, and every byte sequence a character of code page 932 (no
// lone lead byte at the end, no byte such as 0xFF that starts no character).
bool IsCp932Text(const QByteArray& bytes);

// Cuts already-encoded code page 932 bytes to at most maxBytes at a character boundary.
QByteArray CutCp932(const QByteArray& bytes, std::size_t maxBytes);

}  // namespace platform
